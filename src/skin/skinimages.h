#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include "core/skinlayout.h"

// The skin's pictures: the skin itself, the button image list `ImageList1`, the save-list
// button and the application icon. The build draws them (tools/skingen) and links them into
// the program as Qt resources (the zorvan_skin target, linked beside this library), so they can
// be loaded anywhere after the QGuiApplication exists. The loaders below keep every file they
// have read and hand out shared copies, so they are cheap enough to call on every paint; they
// must only be called from the GUI thread.
//
// Every picture exists twice: "skin/name.png" at its design size and "skin/name@2x.png" at
// twice that many pixels, drawn for that size. The loaders choose by device pixel ratio; a 2x
// pixmap carries a device pixel ratio of 2, so it keeps the design size in logical pixels and
// paints crisp on a 200 % screen.

// Resource paths, relative to ":/", of the design-size files. skinPicturePath gives "" for a
// picture outside the image list (Skin::Picture::None); applicationIconPath gives "" for a
// size that is not one of applicationIconSizes().
QString skinPicturePath(Skin::Picture picture);
QString skinMainPicturePath();
QString saveListPicturePath();
QString applicationIconPath(int size);
// Edge lengths in pixels of the square application icons, besides the window icon picture
// (16 pixels).
QList<int> applicationIconSizes();
// "skin/name.png" -> "skin/name@2x.png".
QString doubleSizePath(const QString &path);

// devicePixelRatio is that of the screen the picture goes to (QWidget::devicePixelRatioF());
// above 1 selects the 2x picture. 0 means the application's highest ratio
// (QGuiApplication::devicePixelRatio()). The result is null for a picture outside the image
// list.
QPixmap skinPicture(Skin::Picture picture, qreal devicePixelRatio = 0);
// The skin picture `PicNormal` shows: 275 x 464, top panel in rows 0 to 116.
QPixmap skinMainPicture(qreal devicePixelRatio = 0);
// The save-list button `ImgPlaylist`, 22 x 18.
QPixmap saveListPicture(qreal devicePixelRatio = 0);
// The window icon picture together with the larger application icons, all at 1x and 2x.
// Every file in it is read and decoded at once, the 2x ones (up to 512 x 512 pixels) taking
// the longest.
QIcon applicationIcon();
// The same pictures from the files drawn for `devicePixelRatio` only (the 2x ones above 1):
// enough for a window that shows on one screen, and read in a fraction of the time.
QIcon applicationIconAt(qreal devicePixelRatio);
