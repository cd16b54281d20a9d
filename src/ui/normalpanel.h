#pragma once

#include <array>

#include "core/displaylabels.h"
#include "core/skinlayout.h"
#include "ui/skinpanel.h"

class DragStrip;
class Knob;
class PlaylistBox;
class QLabel;
class Player;
class Session;
class SkinButton;
class SkinKnob;
class SkinToggle;

// `PicNormal`, the face of the normal window: the skin picture with every control of the
// skin table laid over it at its place, in the table's stacking order, each named after its
// control. It shows the player's state (the label texts, the knobs' places, the loop and
// random toggles) and the list panel's state from the settings; what a control does is the
// window's business.
class NormalPanel : public SkinPanel
{
    Q_OBJECT

public:
    NormalPanel(Player &player, Session &session, QWidget *parent = nullptr);

    // The control of that name, or nullptr when it is not of the type asked for.
    SkinButton *button(Skin::Control control) const;
    SkinToggle *toggle(Skin::Control control) const;
    SkinKnob *knob(Skin::Control control) const;
    QLabel *label(Skin::Control control) const;
    DragStrip *dragStrip(Skin::Control control) const;
    PlaylistBox *ListSong() const { return m_list; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *createControl(const Skin::ControlPlace &place);
    QWidget *createButton(Skin::Control control);
    QWidget *createKnob(Knob &knob, Skin::Picture pressed, Skin::Picture normal,
                        const QString &name);
    QLabel *createLabel(Skin::Control control);
    void showLabel(DisplayLabels::Label which, const QString &text);
    void showModes();

    Player &m_player;
    Session &m_session;
    std::array<QWidget *, Skin::Controls.size()> m_controls{};
    PlaylistBox *m_list = nullptr;
};
