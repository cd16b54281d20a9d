#include "dialogs/fmabout.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "dialogs/twipslayout.h"

namespace {

// The project's own page and address.
const QUrl WebPage(QStringLiteral("https://zorvanplayer.example.org/"));
const QUrl MailAddress(QStringLiteral("mailto:zorvanplayer@example.org"));

// A link the desktop opens, in dark blue, underlined, reached by mouse and keyboard.
QLabel *linkLabel(const QString &text, const QUrl &url, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setFont(QFont(QStringLiteral("宋体"), 9));
    label->setText(QStringLiteral("<a href=\"%1\" style=\"color: #0000c0\">%2</a>")
                       .arg(url.toString(QUrl::FullyEncoded), text.toHtmlEscaped()));
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    label->setOpenExternalLinks(true);
    return label;
}

} // namespace

fmAbout::fmAbout(QWidget *parent) : QDialog(parent, TwipsDialogFlags)
{
    const TwipsLayout twips(*this);
    setUpTwipsDialog(*this, twips, "fmAbout", QStringLiteral("关于岚铃播放器"), {4890, 2490});

    auto *picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    twips.place(picIcon, {240, 240, 540, 540});
    // The window's icon, which a dialog takes from its parent.
    picIcon->setPixmap(windowIcon().pixmap(picIcon->size(), devicePixelRatioF()));

    const auto text = [&](const char *name, const QString &caption, QRect place) {
        auto *label = twips.addText<QLabel>(this, name, caption, place);
        // A caption longer than its place takes the room it needs to the right.
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        return label;
    };
    text("lblTitle", QStringLiteral("岚铃播放器1.0 （ZorvanPlayer）"), {1080, 240, 2700, 180});
    QLabel *note = text("Label3", QStringLiteral("谢谢使用岚铃播放器。\n有意见和建议，欢迎来信。"),
                        {1080, 480, 3525, 420});
    note->setWordWrap(true);
    text("Label7", QStringLiteral("作者：岚铃小组"), {1050, 960, 1080, 180});
    text("Label2", QStringLiteral("QQ：无"), {1230, 1200, 1440, 180});
    text("Label6", QStringLiteral("Email："), {960, 1440, 630, 180});
    QLabel *mail = linkLabel(MailAddress.path(), MailAddress, this);
    mail->setObjectName(QStringLiteral("Label4"));
    twips.placeText(mail, {1650, 1440, 1710, 180});
    text("Label5", QStringLiteral("网站："), {1050, 1680, 540, 180});
    QLabel *web = linkLabel(WebPage.host(), WebPage, this);
    web->setObjectName(QStringLiteral("Label1"));
    twips.placeText(web, {1650, 1680, 1890, 180});
    for (QLabel *link : {mail, web})
        link->resize(std::max(link->width(), link->sizeHint().width()), link->height());

    auto *cmdOK =
        twips.addText<QPushButton>(this, "cmdOK", QStringLiteral("确定"), {3600, 1920, 1020, 345});
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}
