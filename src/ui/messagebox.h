#pragma once

#include <QPointer>
#include <QWidget>

#include "core/usermessages.h"

// The player's messages as message boxes with an OK button, window-modal to the active window
// of the player (else to the main window), shown without waiting: a box deletes itself once
// closed, so the shutdown closing its window while it is shown does no harm.
class MessageBoxes : public UserMessages
{
public:
    // The window a message goes over when none of the player's is active.
    void setMainWindow(QWidget *window) { m_mainWindow = window; }

    void tell(Tone tone, const QString &text, std::function<void()> closed = {}) override;

private:
    QPointer<QWidget> m_mainWindow;
};
