#pragma once

#include <QMessageBox>

// A message box with an OK button, modal to `parent`. Unlike QMessageBox's own functions it
// survives the shutdown closing `parent` while the box is shown.
void showMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent);
// The warning that the file at `path` could not be saved, for the reason `error`.
void reportWriteFailure(const QString &path, const QString &error, QWidget *parent);
