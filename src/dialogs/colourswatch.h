#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

// A small square of `colour`: the icon of a button that chooses that colour.
inline QIcon colourSwatch(const QColor &colour)
{
    QPixmap picture(16, 16);
    picture.fill(colour);
    return QIcon(picture);
}
