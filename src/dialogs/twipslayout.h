#pragma once

#include <QRect>
#include <QString>

class QDialog;
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

    // A new `Control` (a label, button, check box, frame...) in `parent` showing `caption`,
    // named `name` and put at the rectangle by placeText().
    template <typename Control>
    Control *addText(QWidget *parent, const char *name, const QString &caption, QRect twips) const
    {
        auto *control = new Control(caption, parent);
        control->setObjectName(QLatin1String(name));
        placeText(control, twips);
        return control;
    }

private:
    double m_twipsPerPixelX = 15;
    double m_twipsPerPixelY = 15;
};

// The dialogs drawn in twips are windows of a fixed size with a title and a close button.
inline constexpr Qt::WindowFlags TwipsDialogFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Sets up a dialog made with TwipsDialogFlags: its object name and title, its deletion when
// it closes, the 9-point font its layout is drawn for and its size in twips.
void setUpTwipsDialog(QDialog &dialog, const TwipsLayout &twips, const char *name,
                      const QString &title, QSize size);
