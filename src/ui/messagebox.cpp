#include "ui/messagebox.h"

#include <QApplication>
#include <QMessageBox>

#include "associations/mimeregistry.h"

namespace {

QMessageBox *openMessageBox(QMessageBox::Icon icon, const QString &text, QWidget *parent)
{
    auto *box = new QMessageBox(icon, MimeRegistry::ApplicationName.toString(), text,
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

} // namespace

void MessageBoxes::tell(Tone tone, const QString &text, std::function<void()> closed)
{
    const QMessageBox::Icon icon = tone == Tone::Warning       ? QMessageBox::Warning
                                   : tone == Tone::Information ? QMessageBox::Information
                                                               : QMessageBox::NoIcon;
    QWidget *over = QApplication::activeWindow();
    const QMessageBox *box = openMessageBox(icon, text, over ? over : m_mainWindow.data());
    if (closed)
        QObject::connect(box, &QMessageBox::finished, box,
                         [closed = std::move(closed)] { closed(); });
}
