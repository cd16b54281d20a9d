#pragma once

#include <QImage>
#include <QList>

#include "contactsheet.h"

// The skin as the window shows it with the playlist open: every button in its starting
// picture at its place, the knobs at their starting places and sample texts in the labels'
// colours. Drawn at scale 1 or 2 from the rendered pictures, whose first entry is the skin.
// For judging the artwork only; the window does its own layout.
QImage composePreview(const QList<RenderedPicture> &pictures, int scale);
