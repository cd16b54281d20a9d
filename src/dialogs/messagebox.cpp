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

QMessageBox *openMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent)
{
    auto *box = new QMessageBox(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                                parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

QString writeFailureText(const QString &path, const QString &error)
{
    return QStringLiteral("无法保存文件“%1”：%2").arg(path, error);
}

void reportWriteFailure(const QString &path, const QString &error, QWidget *parent)
{
    showMessageBox(QMessageBox::Warning, writeFailureText(path, error), parent);
}
