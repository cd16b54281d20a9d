#pragma once

#include <QImage>
#include <QList>
#include <QString>

// One picture as the generator drew it, at both sizes.
struct RenderedPicture
{
    QString path;
    QImage normal;
    QImage doubled;
};

// A sheet for looking the artwork over: the first picture (the skin) at 1x and 2x on the
// left, with a preview of the dressed window at both sizes, and every other picture to the
// right, its 1x drawing enlarged without smoothing beside its 2x drawing at the same size,
// each labelled with its file name.
QImage makeContactSheet(const QList<RenderedPicture> &pictures);
