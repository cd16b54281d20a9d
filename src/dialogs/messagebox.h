#pragma once

#include <QMessageBox>
#include <QPointer>

#include "core/usermessages.h"

// A message box with an OK button, modal to `parent`, waited for. Unlike QMessageBox's own
// functions it survives the shutdown closing `parent` while the box is shown.
void showMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent);
// The same box, window-modal to `parent`, shown without waiting for it: it deletes itself once
// closed, and `finished` tells when.
QMessageBox *openMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent);
// The warning of writeFailureText, waited for.
void reportWriteFailure(const QString &path, const QString &error, QWidget *parent);

// The player's messages as message boxes, window-modal to the active window of the player
// (else to the main window), shown without waiting.
class MessageBoxes : public UserMessages
{
public:
    // The window a message goes over when none of the player's is active.
    void setMainWindow(QWidget *window) { m_mainWindow = window; }

    void tell(Tone tone, const QString &text, std::function<void()> closed = {}) override;

private:
    QPointer<QWidget> m_mainWindow;
};
