#include "ui/fmmain.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "core/commandline.h"
#include "core/mediacontrol.h"
#include "core/session.h"
#include "core/skinlayout.h"
#include "core/windowplacement.h"
#include "lyrics/lyricdisplay.h"
#include "ui/keymap.h"
#include "ui/systemcolours.h"

namespace {

// The strip at the top of the window by which it is grabbed, in pixels.
constexpr int TitleStripHeight = 16;
// The longest slideshow interval a timer can hold, in seconds.
constexpr int LongestPictureSeconds = std::numeric_limits<int>::max() / 1000;

} // namespace

FmMain::FmMain(MediaControl &media, Session &session, LyricFileChooser &lyricChooser,
               QWidget *parent)
    : QWidget(parent), m_media(media), m_session(session), m_lyricChooser(lyricChooser),
      m_player(media, session, *this)
{
    setWindowTitle(QStringLiteral("岚铃播放器"));
    buildWindow();
    connect(&m_player.labels(), &DisplayLabels::changed, this, &FmMain::showLabel);
}

void FmMain::buildWindow()
{
    const DisplayLabels &labels = m_player.labels();
    LInfo = new QLabel(labels.text(DisplayLabels::Label::LInfo), this);
    LTime = new QLabel(labels.text(DisplayLabels::Label::LTime), this);
    LTxtMin = new QLabel(labels.text(DisplayLabels::Label::LTxtMin), this);
    LTxtMax = new QLabel(labels.text(DisplayLabels::Label::LTxtMax), this);
    ListSong = new QListView(this);
    const QList<std::pair<QObject *, const char *>> named{{LInfo, "LInfo"},
                                                          {LTime, "LTime"},
                                                          {LTxtMin, "LTxtMin"},
                                                          {LTxtMax, "LTxtMax"},
                                                          {ListSong, "ListSong"}};
    for (const auto &[object, name] : named)
        object->setObjectName(QLatin1String(name));
    LTxtMax->hide();
    LTxtMin->setStyleSheet(QStringLiteral("color: #008000"));
    LTxtMin->installEventFilter(this);
    LInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Transport &transport = m_player.transport();
    ListSong->setModel(&transport.ListSong());
    ListSong->setSelectionModel(transport.ListSong().selectionModel());
    ListSong->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListSong->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListSong->setUniformItemSizes(true);
    ListSong->installEventFilter(this);
    connect(ListSong, &QListView::doubleClicked, &transport, &Transport::PlaySong);

    auto *buttonRow = new QHBoxLayout;
    const QList<std::pair<QString, void (Transport::*)()>> buttons{
        {QStringLiteral("上一首"), &Transport::PreviousSong},
        {QStringLiteral("播放"), &Transport::PlaySong},
        {QStringLiteral("暂停"), &Transport::PauseSong},
        {QStringLiteral("停止"), &Transport::StopSong},
        {QStringLiteral("下一首"), &Transport::NextSong}};
    for (const auto &[caption, command] : buttons) {
        auto *button = new QPushButton(caption, this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, &transport, command);
        buttonRow->addWidget(button);
    }
    auto *chooseLyric = new QPushButton(QStringLiteral("选择歌词"), this);
    chooseLyric->setObjectName(QStringLiteral("chooseLyric"));
    chooseLyric->setFocusPolicy(Qt::NoFocus);
    connect(chooseLyric, &QPushButton::clicked, this,
            [this] { m_player.transport().OpenLyric(m_lyricChooser); });
    buttonRow->addWidget(chooseLyric);
    buttonRow->addStretch();
    buttonRow->addWidget(LTime);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LInfo);
    layout->addWidget(LTxtMin);
    layout->addWidget(LTxtMax);
    layout->addLayout(buttonRow);
    layout->addWidget(ListSong, 1);
    resize(420, Skin::HeightWithList);
}

void FmMain::showLabel(DisplayLabels::Label label, const QString &text)
{
    switch (label) {
    case DisplayLabels::Label::LTime:
        LTime->setText(text);
        break;
    case DisplayLabels::Label::LInfo:
        LInfo->setText(text);
        break;
    case DisplayLabels::Label::LTxtMin:
        LTxtMin->setText(text);
        break;
    case DisplayLabels::Label::LTxtMax:
        LTxtMax->setText(text);
        break;
    }
}

void FmMain::Form_Load(const CommandLineSongs &songs)
{
    // A settings file with a wrong first line, or one that cannot be read, changes nothing,
    // not even the place.
    const SettingsLoad settings = m_session.load();
    if (settings != SettingsLoad::WrongMarker && settings != SettingsLoad::Unreadable)
        restorePlace();
    applyLyricStyle();
    SetSetting();
    show();
    m_player.start(songs);
    ListSong->setFocus();
}

double FmMain::twipsPerPixelX() const
{
    return twipsPerPixel(screen()->logicalDotsPerInchX());
}

double FmMain::twipsPerPixelY() const
{
    return twipsPerPixel(screen()->logicalDotsPerInchY());
}

// Puts the window where the settings say, unless its title strip would be on no screen.
void FmMain::restorePlace()
{
    const SettingsRecord &settings = m_session.settings();
    const QPoint saved(int(std::lrint(settings.windowLeftTwips / twipsPerPixelX())),
                       int(std::lrint(settings.windowTopTwips / twipsPerPixelY())));
    QList<QRect> screens;
    for (const QScreen *each : QGuiApplication::screens())
        screens.append(each->geometry());
    const QScreen *primary = QGuiApplication::primaryScreen();
    move(placeOnScreens(saved, width(), TitleStripHeight, screens,
                        primary ? primary->availableGeometry() : QRect()));
}

void FmMain::applyLyricStyle()
{
    const SettingsRecord &settings = m_session.settings();
    const LyricFontSetting &style = settings.lyricFont;
    QFont font(style.name);
    font.setPointSizeF(style.pointSize);
    font.setItalic(style.italic);
    font.setBold(style.bold);
    font.setUnderline(style.underline);
    LTxtMax->setFont(font);
    QPalette palette = LTxtMax->palette();
    palette.setColor(QPalette::WindowText, colourFromValue(settings.lyricColour, palette));
    LTxtMax->setPalette(palette);
}

void FmMain::SetSetting()
{
    const SharedSettings &shared = m_session.settings().shared;
    SnapTwips = int(std::lrint(shared.SnapPixels * twipsPerPixelX()));
    m_player.sound().ShowVolume();
    ApplyListPanel();
    TimerPic.setInterval(std::clamp(shared.PicShowSeconds, 1, LongestPictureSeconds) * 1000);
}

void FmMain::ApplyListPanel()
{
    const bool shown = m_session.settings().shared.ShowList == 1;
    ListSong->setVisible(shown);
    resize(width(), shown ? Skin::HeightWithList : Skin::HeightWithoutList);
}

bool FmMain::eventFilter(QObject *watched, QEvent *event)
{
    // A click on the lyric line moves its text: left, centred, right, left again.
    if (watched == LTxtMin && event->type() == QEvent::MouseButtonRelease)
        LTxtMin->setAlignment(nextLyricAlignment(LTxtMin->alignment()));
    if (watched == ListSong && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = virtualKeyCode(*key);
        m_player.HandleKey(code, modifierBits(key->modifiers()));
        if (code == int(VirtualKey::Delete))
            m_player.transport().DelSelectedSong();
        // Not consumed: the list also moves its current entry as a list does.
    }
    return QWidget::eventFilter(watched, event);
}

// With the playlist hidden the window itself takes the keys. While the playlist is shown
// it has the focus, and the keys it passes on to its parent were handled already.
void FmMain::keyPressEvent(QKeyEvent *event)
{
    if (ListSong->isVisible())
        return;
    m_player.HandleKey(virtualKeyCode(*event), modifierBits(event->modifiers()));
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
    // Closing the main window ends the player, whether or not Qt still counts it as a
    // visible window at this moment. Before the event loop runs this does nothing, and
    // main() ends the program itself.
    QCoreApplication::quit();
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
// was asked for. A file that cannot be written is reported and the rest goes on. No
// pending event runs in between: one could start again what the shutdown has stopped.
void FmMain::saveAndRelease(bool reportInWindow)
{
    if (m_unloading)
        return;
    m_unloading = true;
    m_player.stop();
    TimerPic.stop();
    SettingsRecord settings = m_session.settings();
    settings.windowLeftTwips = x() * twipsPerPixelX();
    settings.windowTopTwips = y() * twipsPerPixelY();
    settings.volume = m_media.volume();
    m_session.setSettings(settings);
    for (const Session::WriteFailure &failure :
         m_session.save(m_player.transport().ListSong().songs()))
        reportWriteFailure(failure.path, failure.error, reportInWindow);
}

void FmMain::reportWriteFailure(const QString &path, const QString &error, bool inWindow)
{
    std::fprintf(stderr, "zorvan: cannot write %s: %s\n", qPrintable(path), qPrintable(error));
    if (inWindow)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("无法保存文件“%1”：%2").arg(path, error));
}
