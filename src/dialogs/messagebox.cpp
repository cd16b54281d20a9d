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

void reportWriteFailure(const QString &path, const QString &error, QWidget *parent)
{
    showMessageBox(QMessageBox::Warning, QStringLiteral("无法保存文件“%1”：%2").arg(path, error),
                   parent);
}
