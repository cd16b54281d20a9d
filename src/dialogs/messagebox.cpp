#include "dialogs/messagebox.h"

#include <QApplication>
#include <QPointer>

void showMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent)
{
    QPointer<QMessageBox> box = new QMessageBox(icon, QApplication::applicationDisplayName(), text,
                                                QMessageBox::Ok, parent);
    box->exec();
    delete box;
}
