#include "ui/fmmain.h"

#include <cstdio>

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>

#include "ui/keymap.h"

namespace {

constexpr int DeleteKey = 46;

} // namespace

FmMain::FmMain(MediaControl &media, const QString &programFolder, QWidget *parent)
    : QWidget(parent), m_player(media, *this), m_programFolder(programFolder)
{
    setWindowTitle(QStringLiteral("岚铃播放器"));
    buildWindow();
    connectPlayer();
}

void FmMain::buildWindow()
{
    LInfo = new QLabel(m_player.labelText(Player::Label::LInfo), this);
    LTime = new QLabel(m_player.labelText(Player::Label::LTime), this);
    LTxtMin = new QLabel(m_player.labelText(Player::Label::LTxtMin), this);
    LTxtMax = new QLabel(m_player.labelText(Player::Label::LTxtMax), this);
    ListSong = new QListView(this);
    const QList<std::pair<QObject *, const char *>> named{
        {LInfo, "LInfo"}, {LTime, "LTime"}, {LTxtMin, "LTxtMin"}, {LTxtMax, "LTxtMax"},
        {ListSong, "ListSong"}};
    for (const auto &[object, name] : named)
        object->setObjectName(QLatin1String(name));
    LTxtMax->hide();
    LTxtMin->setStyleSheet(QStringLiteral("color: #008000"));
    LInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ListSong->setModel(&m_player.ListSong());
    ListSong->setSelectionModel(m_player.ListSong().selectionModel());
    ListSong->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListSong->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListSong->setUniformItemSizes(true);
    ListSong->installEventFilter(this);
    connect(ListSong, &QListView::doubleClicked, this, [this] { m_player.PlaySong(); });

    auto *transport = new QHBoxLayout;
    const QList<std::pair<QString, void (Player::*)()>> buttons{
        {QStringLiteral("上一首"), &Player::PreviousSong},
        {QStringLiteral("播放"), &Player::PlaySong},
        {QStringLiteral("暂停"), &Player::PauseSong},
        {QStringLiteral("停止"), &Player::StopSong},
        {QStringLiteral("下一首"), &Player::NextSong}};
    for (const auto &[caption, command] : buttons) {
        auto *button = new QPushButton(caption, this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, &m_player, command);
        transport->addWidget(button);
    }
    transport->addStretch();
    transport->addWidget(LTime);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LInfo);
    layout->addWidget(LTxtMin);
    layout->addWidget(LTxtMax);
    layout->addLayout(transport);
    layout->addWidget(ListSong, 1);
    resize(420, 464);
}

void FmMain::connectPlayer()
{
    connect(&m_player, &Player::labelChanged, this, &FmMain::showLabel);
}

void FmMain::showLabel(Player::Label label, const QString &text)
{
    switch (label) {
    case Player::Label::LTime: LTime->setText(text); break;
    case Player::Label::LInfo: LInfo->setText(text); break;
    case Player::Label::LTxtMin: LTxtMin->setText(text); break;
    case Player::Label::LTxtMax: LTxtMax->setText(text); break;
    }
}

void FmMain::Form_Load(const QString &commandText)
{
    m_player.InitPlayerState();
    m_player.ShowVolume();
    show();
    m_player.LoadCommandSong(commandText, defaultListPath());
    ListSong->setFocus();
}

QString FmMain::defaultListPath() const
{
    return QDir(m_programFolder).filePath(QStringLiteral("zorvan.m3u"));
}

bool FmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListSong && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = virtualKeyCode(*key);
        m_player.HandleKey(code, modifierBits(key->modifiers()));
        if (code == DeleteKey)
            m_player.DelSelectedSong();
        // Not consumed: the list also moves its current entry as a list does.
    }
    return QWidget::eventFilter(watched, event);
}

void FmMain::FullScr()
{
    showFullScreen();
}

void FmMain::OrgScr()
{
    showNormal();
}

void FmMain::SetOntop()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, !windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    show();
}

void FmMain::bringForward()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void FmMain::closeEvent(QCloseEvent *event)
{
    saveAndRelease(true);
    event->accept();
}

void FmMain::UnloadMe()
{
    close();
}

void FmMain::unloadQuietly()
{
    saveAndRelease(false);
    close();
}

// The shutdown steps before the window closes; they run once, whichever way the close
// was asked for.
void FmMain::saveAndRelease(bool reportInWindow)
{
    if (m_unloading)
        return;
    m_unloading = true;
    const QString listPath = defaultListPath();
    const QString error = m_player.shutDown(listPath);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "zorvan: cannot write %s: %s\n", qPrintable(listPath),
                     qPrintable(error));
        if (reportInWindow)
            QMessageBox::warning(this, windowTitle(),
                                 QStringLiteral("无法保存播放列表“%1”：%2").arg(listPath, error));
    }
    QCoreApplication::processEvents();
}
