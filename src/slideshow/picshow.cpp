#include "slideshow/picshow.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "core/rounding.h"
#include "slideshow/transitionplan.h"

namespace {

constexpr int PictureMemoryLimitMegabytes = 1024;

} // namespace

int nextPictureIndex(int count, int shown)
{
    if (count <= 0)
        return -1;
    return count - shown < 2 ? 0 : shown + 1;
}

int chooseEffect(float secondsSinceMidnight, std::mt19937 &generator)
{
    const long drawn = roundHalfEven(nextUnitRandom(generator) * double(secondsSinceMidnight));
    return int((drawn % EffectCount + EffectCount) % EffectCount);
}

QPoint centredPosition(QSize window, QSize picture)
{
    return QPoint(int(roundHalfEven((window.width() - picture.width()) / 2.0)),
                  int(roundHalfEven((window.height() - picture.height()) / 2.0)));
}

QImage composePicture(const QImage &picture, QSize window, const QColor &background)
{
    QImage composed(window, QImage::Format_RGB32);
    composed.fill(background);
    QPainter painter(&composed);
    painter.drawImage(centredPosition(window, picture.size()), picture);
    return composed;
}

bool isPictureFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden();
}

std::optional<QImage> loadPicture(const QString &path)
{
    QImageReader reader(path);
    // Photos of up to about 250 megapixels (Qt refuses more than 128 MB by default, which a
    // 48-megapixel photo exceeds); the memory is held only while the screen is composed.
    reader.setAllocationLimit(PictureMemoryLimitMegabytes);
    reader.setAutoTransform(true);
    QImage picture = reader.read();
    if (picture.isNull())
        return std::nullopt;
    return picture;
}

PictureRead readPicture(const QString &path)
{
    if (!isPictureFile(path))
        return {};
    return {true, loadPicture(path)};
}

std::chrono::microseconds EffectDelay(int count)
{
    return std::chrono::microseconds(count < 0 ? 0 : qint64(count) * 25);
}
