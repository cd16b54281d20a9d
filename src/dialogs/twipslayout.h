#pragma once

#include <QRect>

class QWidget;

// Places the controls of a dialog drawn in twips (1/1440 inch) at the screen's logical
// resolution, so that the layout keeps its proportions to the text at any scale.
class TwipsLayout
{
public:
    // The resolution of the screen `widget` is on (or will be shown on).
    explicit TwipsLayout(const QWidget &widget);

    QSize size(int width, int height) const;
    // `twips` in pixels.
    QRect rect(QRect twips) const;
    // Puts `widget` at the rectangle (in twips), inside its parent.
    void place(QWidget *widget, QRect twips) const;
    // As place(), but a control of text is made as high as its text needs, centred on the
    // rectangle's middle, where the rectangle is lower than that.
    void placeText(QWidget *widget, QRect twips) const;

private:
    double m_twipsPerPixelX = 15;
    double m_twipsPerPixelY = 15;
};
