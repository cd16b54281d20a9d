#pragma once

#include "ui/skinbutton.h"

// A skin button with an off and an on state, each with its pressed and normal picture. The
// state belongs to the player or the settings: the toggle shows it (setOn), and its command
// asks for the other state; a toggle whose command changed nothing shows the old state
// again. Assistive technologies see a checkable button whose toggle action runs the command.
class SkinToggle : public SkinButton
{
    Q_OBJECT

public:
    // The pictures: off pressed, off normal, on pressed, on normal.
    SkinToggle(Skin::Picture offPressed, Skin::Picture offNormal, Skin::Picture onPressed,
               Skin::Picture onNormal, QWidget *parent = nullptr);

    bool isOn() const { return m_isOn; }
    void setOn(bool on);

protected:
    // The state changes when the owner of the state says so, not by a click.
    void nextCheckState() override {}

private:
    Skin::Picture m_offPressed;
    Skin::Picture m_offNormal;
    Skin::Picture m_onPressed;
    Skin::Picture m_onNormal;
    bool m_isOn = false;
};
