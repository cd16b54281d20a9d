#include "core/displaylabels.h"

void DisplayLabels::setText(Label label, const QString &text)
{
    QString &current = m_texts[std::size_t(label)];
    if (current == text)
        return;
    current = text;
    emit changed(label, text);
}
