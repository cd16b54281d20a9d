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
    // Picture indexes: off pressed, off normal, on pressed, on normal.
    SkinToggle(int offPressed, int offNormal, int onPressed, int onNormal,
               QWidget *parent = nullptr);

    bool isOn() const { return m_isOn; }
    void setOn(bool on);

protected:
    // The state changes when the owner of the state says so, not by a click.
    void nextCheckState() override {}

private:
    int m_offPressed;
    int m_offNormal;
    int m_onPressed;
    int m_onNormal;
    bool m_isOn = false;
};
