#pragma once

#include <QMessageBox>

// A message box with an OK button, modal to `parent`. Unlike QMessageBox's own functions it
// survives the shutdown closing `parent` while the box is shown.
void showMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent);
