#pragma once

#include <QMessageBox>

// A message box with an OK button, modal to `parent`, waited for. Unlike QMessageBox's own
// functions it survives the shutdown closing `parent` while the box is shown.
void showMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent);
// The same box, window-modal to `parent`, shown without waiting for it: it deletes itself once
// closed, and `finished` tells when.
QMessageBox *openMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent);
// The sentence that the file at `path` could not be saved, for the reason `error`.
QString writeFailureText(const QString &path, const QString &error);
// The warning of writeFailureText, waited for.
void reportWriteFailure(const QString &path, const QString &error, QWidget *parent);
