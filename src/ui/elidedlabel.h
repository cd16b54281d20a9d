#pragma once

#include <QLabel>

// A one-line label that cuts a text too long for it and ends it with "…", so a long song
// line never widens anything; text() and what assistive technologies read stay whole.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
