#include "dialogs/qtregistrymessages.h"

#include <QApplication>

#include "dialogs/messagebox.h"

void QtRegistryMessages::show(const QString &text)
{
    showMessageBox(QMessageBox::Information, text, QApplication::activeWindow());
}
