#include "skin/skinimages.h"

#include <array>

#include <QGuiApplication>
#include <QHash>

namespace {

// File names of ImageList1 in the order of Skin::Picture. The leading number is the picture's
// place in the list, from 1.
constexpr std::array<const char *, Skin::PictureCount> PictureNames = {
    "01-close-pressed",
    "02-close",
    "03-minimise-pressed",
    "04-minimise",
    "05-window-icon",
    "06-small-knob-pressed",
    "07-small-knob",
    "08-position-knob-pressed",
    "09-position-knob",
    "10-previous-pressed",
    "11-previous",
    "12-play-pressed",
    "13-play",
    "14-pause-pressed",
    "15-pause",
    "16-next-pressed",
    "17-next",
    "18-stop-pressed",
    "19-stop",
    "20-eject-pressed",
    "21-eject",
    "22-list-off-pressed",
    "23-list-off",
    "24-list-on-pressed",
    "25-list-on",
    "26-full-screen-pressed",
    "27-full-screen",
    "28-random-off-pressed",
    "29-random-off",
    "30-random-on-pressed",
    "31-random-on",
    "32-loop-off-pressed",
    "33-loop-off",
    "34-loop-on-pressed",
    "35-loop-on",
};

QString skinPath(const QString &name)
{
    return QStringLiteral("skin/%1.png").arg(name);
}

QPixmap loadForRatio(const QString &path, qreal devicePixelRatio)
{
    if (path.isEmpty()) {
        return {};
    }
    if (devicePixelRatio <= 0) {
        devicePixelRatio = qGuiApp->devicePixelRatio();
    }
    // The reader sets the device pixel ratio 2 from the "@2x" in the file name.
    const QString chosen = devicePixelRatio > 1 ? doubleSizePath(path) : path;
    // Each file is read once: the controls ask again on every paint, and the copies handed
    // out share the one pixmap. Pixmaps belong to the GUI thread, so the memo needs no lock;
    // it is emptied while the application object still exists.
    static QHash<QString, QPixmap> loaded;
    if (loaded.isEmpty())
        qAddPostRoutine([] { loaded.clear(); });
    auto found = loaded.constFind(chosen);
    if (found == loaded.cend())
        found = loaded.insert(chosen, QPixmap(QLatin1String(":/") + chosen));
    return *found;
}

// The window icon picture and the application icons, from the files of either size or both.
QIcon iconOf(bool withSingle, bool withDouble)
{
    QStringList paths{skinPicturePath(Skin::Picture::WindowIcon)};
    for (int size : applicationIconSizes()) {
        paths << applicationIconPath(size);
    }
    QIcon icon;
    for (const QString &path : paths) {
        if (withSingle)
            icon.addFile(QLatin1String(":/") + path);
        if (withDouble)
            icon.addFile(QLatin1String(":/") + doubleSizePath(path));
    }
    return icon;
}

} // namespace

QString skinPicturePath(Skin::Picture picture)
{
    const int index = int(picture);
    if (index < 1 || index > Skin::PictureCount) {
        return {};
    }
    return skinPath(QLatin1String(PictureNames[index - 1]));
}

QString skinMainPicturePath()
{
    return skinPath(QStringLiteral("main"));
}

QString saveListPicturePath()
{
    return skinPath(QStringLiteral("save-list"));
}

QString applicationIconPath(int size)
{
    if (!applicationIconSizes().contains(size)) {
        return {};
    }
    return skinPath(QStringLiteral("icon-%1").arg(size));
}

QList<int> applicationIconSizes()
{
    return {48, 128, 256};
}

QString doubleSizePath(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QLatin1String("@2x") + path.mid(dot);
}

QPixmap skinPicture(Skin::Picture picture, qreal devicePixelRatio)
{
    return loadForRatio(skinPicturePath(picture), devicePixelRatio);
}

QPixmap skinMainPicture(qreal devicePixelRatio)
{
    return loadForRatio(skinMainPicturePath(), devicePixelRatio);
}

QPixmap saveListPicture(qreal devicePixelRatio)
{
    return loadForRatio(saveListPicturePath(), devicePixelRatio);
}

// Both sizes of each file are added: QIcon::addFile looks for "@2x" only when the
// application's own ratio asks for it, and the icon may go to another screen.
QIcon applicationIcon()
{
    return iconOf(true, true);
}

QIcon applicationIconAt(qreal devicePixelRatio)
{
    const bool isDouble = devicePixelRatio > 1;
    return iconOf(!isDouble, isDouble);
}
