#include "ui/keymap.h"

#include <QKeyEvent>

#include "core/command.h"

namespace {

// The keypad's plus and minus, which the player does not answer.
constexpr int KeypadPlus = 107;
constexpr int KeypadMinus = 109;
constexpr int FirstFunctionKey = 112;

} // namespace

int virtualKeyCode(const QKeyEvent &event)
{
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key; // letters and digits share their codes with ASCII
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return FirstFunctionKey + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return int(VirtualKey::Enter);
    case Qt::Key_Escape:
        return int(VirtualKey::Escape);
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Left:
        return int(VirtualKey::Left);
    case Qt::Key_Up:
        return int(VirtualKey::Up);
    case Qt::Key_Right:
        return int(VirtualKey::Right);
    case Qt::Key_Down:
        return int(VirtualKey::Down);
    case Qt::Key_Delete:
        return int(VirtualKey::Delete);
    case Qt::Key_Plus:
        return keypad ? KeypadPlus : int(VirtualKey::Plus);
    case Qt::Key_Equal:
        return int(VirtualKey::Plus);
    case Qt::Key_Minus:
        return keypad ? KeypadMinus : int(VirtualKey::Minus);
    case Qt::Key_Underscore:
        return int(VirtualKey::Minus);
    case Qt::Key_BracketLeft:
        return int(VirtualKey::BracketLeft);
    case Qt::Key_BracketRight:
        return int(VirtualKey::BracketRight);
    default:
        return 0;
    }
}

int modifierBits(Qt::KeyboardModifiers modifiers)
{
    return (modifiers.testFlag(Qt::ShiftModifier) ? KeyModifier::Shift : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? KeyModifier::Ctrl : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? KeyModifier::Alt : 0);
}
