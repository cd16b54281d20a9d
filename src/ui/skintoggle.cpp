#include "ui/skintoggle.h"

#include <QSignalBlocker>

SkinToggle::SkinToggle(Skin::Picture offPressed, Skin::Picture offNormal, Skin::Picture onPressed,
                       Skin::Picture onNormal, QWidget *parent)
    : SkinButton(Action::CommandThenPicture, parent), m_offPressed(offPressed),
      m_offNormal(offNormal), m_onPressed(onPressed), m_onNormal(onNormal)
{
    setCheckable(true);
    setPictures(offPressed, offNormal);
    // The accessibility toggle action flips the check mark itself; the owner decides.
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked == m_isOn)
            return;
        emit triggered(mapToGlobal(rect().center()));
        const QSignalBlocker blocker(this);
        setChecked(m_isOn);
    });
}

void SkinToggle::setOn(bool on)
{
    m_isOn = on;
    setPictures(on ? m_onPressed : m_offPressed, on ? m_onNormal : m_offNormal);
    const QSignalBlocker blocker(this);
    setChecked(on);
}
