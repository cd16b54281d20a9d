#pragma once

#include <chrono>
#include <optional>
#include <random>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

// The slideshow's rules, free of timers and windows: which picture comes next, which
// transition brings it, where it lies on the screen, and how long a transition step waits.
// All sizes and positions are in pixels.

// The entry a tick shows in a list of `count` pictures when entry `shown` was shown last
// (-1 for none): the next one, and the first after the last (or after an index past the
// end). -1 when the list is empty.
int nextPictureIndex(int count, int shown);

// The transition for the time of day `secondsSinceMidnight`: nearest(r * t) mod 5, r the
// next number of `generator` in [0, 1), halves to even. At midnight always 0.
int chooseEffect(float secondsSinceMidnight, std::mt19937 &generator);

// The top-left corner of a `picture` centred at its natural size on a `window`, halves to
// even; negative where the picture is larger, which cuts it equally on both sides.
QPoint centredPosition(QSize window, QSize picture);

// The screen a transition brings in: `picture` centred at its natural size on an opaque
// image of `window` filled with `background`, which also shows through transparent parts.
QImage composePicture(const QImage &picture, QSize window, const QColor &background);

// Whether a listed path names a picture file that may be read: an existing regular file,
// not hidden (its name does not begin with "."). Folders, devices, pipes and sockets fail.
bool isPictureFile(const QString &path);

// The picture at `path` decoded, turned upright as its EXIF orientation says; nothing when
// the file is no picture the installed decoders read, or one of more than 1 GB decoded.
// Reads the disk: may take long.
std::optional<QImage> loadPicture(const QString &path);

// What the slideshow's worker makes of a listed path: whether it names a picture file (see
// isPictureFile) and, if it does, the picture decoded (see loadPicture), or nothing.
struct PictureRead
{
    bool isPictureFile = false;
    std::optional<QImage> picture;
};

// isPictureFile, then loadPicture for a picture file. Reads the disk: may take long.
PictureRead readPicture(const QString &path);

// The wait before every transition step: 25 microseconds per count, so the transitions
// take 0.25 to 1 s; nothing for a negative count.
std::chrono::microseconds EffectDelay(int count);
