#include "ui/fmmain.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "core/mediacontrol.h"
#include "core/windowplacement.h"
#include "lyrics/lyricdisplay.h"
#include "ui/keymap.h"
#include "ui/systemcolours.h"

namespace {

constexpr int DeleteKey = 46;
// Window heights in pixels with and without the playlist panel.
constexpr int HeightWithList = 464;
constexpr int HeightWithoutList = 116;
// The strip at the top of the window by which it is grabbed, in pixels.
constexpr int TitleStripHeight = 16;
// The longest slideshow interval a timer can hold, in seconds.
constexpr int LongestPictureSeconds = std::numeric_limits<int>::max() / 1000;

} // namespace

FmMain::FmMain(MediaControl &media, LyricFileChooser &lyricChooser, const QString &programFolder,
               QWidget *parent)
    : QWidget(parent), m_media(media), m_lyricChooser(lyricChooser), m_player(media, *this),
      m_programFolder(programFolder)
{
    setWindowTitle(QStringLiteral("岚铃播放器"));
    buildWindow();
    connect(&m_player, &Player::labelChanged, this, &FmMain::showLabel);
}

void FmMain::buildWindow()
{
    LInfo = new QLabel(m_player.labelText(Player::Label::LInfo), this);
    LTime = new QLabel(m_player.labelText(Player::Label::LTime), this);
    LTxtMin = new QLabel(m_player.labelText(Player::Label::LTxtMin), this);
    LTxtMax = new QLabel(m_player.labelText(Player::Label::LTxtMax), this);
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
    auto *chooseLyric = new QPushButton(QStringLiteral("选择歌词"), this);
    chooseLyric->setObjectName(QStringLiteral("chooseLyric"));
    chooseLyric->setFocusPolicy(Qt::NoFocus);
    connect(chooseLyric, &QPushButton::clicked, this,
            [this] { m_player.OpenLyric(m_lyricChooser); });
    transport->addWidget(chooseLyric);
    transport->addStretch();
    transport->addWidget(LTime);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LInfo);
    layout->addWidget(LTxtMin);
    layout->addWidget(LTxtMax);
    layout->addLayout(transport);
    layout->addWidget(ListSong, 1);
    resize(420, HeightWithList);
}

void FmMain::showLabel(Player::Label label, const QString &text)
{
    switch (label) {
    case Player::Label::LTime:
        LTime->setText(text);
        break;
    case Player::Label::LInfo:
        LInfo->setText(text);
        break;
    case Player::Label::LTxtMin:
        LTxtMin->setText(text);
        break;
    case Player::Label::LTxtMax:
        LTxtMax->setText(text);
        break;
    }
}

void FmMain::Form_Load(const QString &commandText)
{
    m_player.InitPlayerState();
    restoreSettings();
    loadLists();
    SetSetting();
    show();
    m_player.LoadCommandSong(commandText, programFile(QStringLiteral("zorvan.m3u")));
    ListSong->setFocus();
}

QString FmMain::programFile(const QString &name) const
{
    return QDir(m_programFolder).filePath(name);
}

double FmMain::twipsPerPixelX() const
{
    return twipsPerPixel(screen()->logicalDotsPerInchX());
}

double FmMain::twipsPerPixelY() const
{
    return twipsPerPixel(screen()->logicalDotsPerInchY());
}

// Reads the settings file onto the window's settings and gives each control its value:
// the window its place, the full-screen lyric line its font and colour, the media control
// its volume. A file with a wrong first line changes nothing, not even the place.
void FmMain::restoreSettings()
{
    if (LoadSettings(programFile(QStringLiteral("zorvan.set")), m_settings) ==
        SettingsLoad::WrongMarker)
        return;
    const QPoint saved(int(std::lrint(m_settings.windowLeftTwips / twipsPerPixelX())),
                       int(std::lrint(m_settings.windowTopTwips / twipsPerPixelY())));
    QList<QRect> screens;
    for (const QScreen *each : QGuiApplication::screens())
        screens.append(each->geometry());
    const QScreen *primary = QGuiApplication::primaryScreen();
    move(placeOnScreens(saved, width(), TitleStripHeight, screens,
                        primary ? primary->availableGeometry() : QRect()));
    applyLyricStyle();
    m_media.setVolume(m_settings.volume);
}

void FmMain::applyLyricStyle()
{
    const LyricFontSetting &style = m_settings.lyricFont;
    QFont font(style.name);
    font.setPointSizeF(style.pointSize);
    font.setItalic(style.italic);
    font.setBold(style.bold);
    font.setUnderline(style.underline);
    LTxtMax->setFont(font);
    QPalette palette = LTxtMax->palette();
    palette.setColor(QPalette::WindowText, colourFromValue(m_settings.lyricColour, palette));
    LTxtMax->setPalette(palette);
}

void FmMain::loadLists()
{
    const ListTarget target = ListTarget::FmMain;
    if (const auto pictures =
            LoadPicList(programFile(QStringLiteral("zorvan.pic")), m_programFolder)) {
        const ListContents contents = picListContents(*pictures, target);
        ListPic = contents.items;
        m_shownPicture = contents.selected;
    }
    if (const auto folders = LoadLyricDirList(programFile(QStringLiteral("zorvan.lyr"))))
        m_player.setListLyricDir(lyricDirListContents(*folders, target).items);
}

void FmMain::SetSetting()
{
    const SharedSettings &shared = m_settings.shared;
    SnapTwips = int(std::lrint(shared.SnapPixels * twipsPerPixelX()));
    m_player.ShowVolume();
    ApplyListPanel();
    TimerPic.setInterval(std::clamp(shared.PicShowSeconds, 1, LongestPictureSeconds) * 1000);
}

void FmMain::ApplyListPanel()
{
    const bool shown = m_settings.shared.ShowList == 1;
    ListSong->setVisible(shown);
    resize(width(), shown ? HeightWithList : HeightWithoutList);
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
        if (code == DeleteKey)
            m_player.DelSelectedSong();
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
    m_settings.windowLeftTwips = x() * twipsPerPixelX();
    m_settings.windowTopTwips = y() * twipsPerPixelY();
    m_settings.volume = m_media.volume();
    const QString settingsPath = programFile(QStringLiteral("zorvan.set"));
    const WriteResult settingsSaved = SaveSettings(settingsPath, m_settings);
    const QString listPath = programFile(QStringLiteral("zorvan.m3u"));
    const QString listError = m_player.shutDown(listPath);
    TimerPic.stop();
    if (!settingsSaved.ok)
        reportWriteFailure(settingsPath, settingsSaved.error, reportInWindow);
    if (!listError.isEmpty())
        reportWriteFailure(listPath, listError, reportInWindow);
}

void FmMain::reportWriteFailure(const QString &path, const QString &error, bool inWindow)
{
    std::fprintf(stderr, "zorvan: cannot write %s: %s\n", qPrintable(path), qPrintable(error));
    if (inWindow)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("无法保存文件“%1”：%2").arg(path, error));
}
