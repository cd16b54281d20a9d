#include "core/player.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>

#include "core/mediacontrol.h"
#include "core/windowcommands.h"
#include "lyrics/lyricdisplay.h"
#include "lyrics/lyriclookup.h"
#include "persist/playlistfile.h"

// Which tracks start and which cannot be opened, for diagnosis; off unless enabled
// through Qt's logging rules ("zorvan.playback.debug=true").
Q_LOGGING_CATEGORY(lcPlayback, "zorvan.playback", QtWarningMsg)

namespace {

// Whole numbers are reached by rounding halves to the even neighbour (2.5 gives 2).
long roundHalfEven(double value)
{
    return std::lrint(value);
}

// Windows virtual-key codes of the keys the player answers.
enum VirtualKey {
    KeyEnter = 13,
    KeyEscape = 27,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyM = 77,
    KeyP = 80,
    KeyF4 = 115,
    KeyF12 = 123,
    KeyPlus = 187,
    KeyMinus = 189,
};

bool isPlaylistPath(const QString &path)
{
    return path.right(3).toLower() == u"m3u";
}

} // namespace

Player::Player(MediaControl &media, WindowCommands &window, QObject *parent)
    : QObject(parent), m_media(media), m_window(window)
{
    m_timerMain.setInterval(ShortestTickMs);
    m_timerMain.setTimerType(Qt::PreciseTimer);
    connect(&m_timerMain, &QTimer::timeout, this, &Player::onTimerMain);
    connect(&m_media, &MediaControl::endOfStream, this, &Player::NextSong);
}

void Player::InitPlayerState(const KnobPlacement &knobs)
{
    m_appRunning = true;
    setLoopMode(true);
    setRandomMode(false);
    m_limits = SliderLimits{};
    m_limits.PosSliderTop = knobs.positionTop;
    m_limits.PosSliderBottom = knobs.positionTop + knobs.positionHeight;
    m_limits.VolSliderBottom = knobs.volumeTop + knobs.volumeHeight;
    m_limits.BalSliderBottom = knobs.balanceTop + knobs.balanceHeight;
    m_playlist.clear();
}

void Player::setLoopMode(bool on)
{
    if (m_loopMode == on)
        return;
    m_loopMode = on;
    emit modesChanged();
}

void Player::setRandomMode(bool on)
{
    if (m_randomMode == on)
        return;
    m_randomMode = on;
    emit modesChanged();
}

QString Player::labelText(Label label) const
{
    return m_labels[int(label)];
}

// --- Playback and play order ---------------------------------------------------------

void Player::PlaySong()
{
    startSong(StartMode::Play);
}

// Starts the current entry. When it cannot be opened, the next entry becomes current;
// while playing, the skip goes on until an entry starts, for one pass over the list at
// most, after which the player stops. From paused or stopped only the highlight moves.
void Player::startSong(StartMode mode)
{
    const quint64 request = ++m_playRequest;
    const int attempts = std::max(1, m_playlist.count());
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (startCurrentEntry(mode) != StartResult::Failed)
            return;
        QCoreApplication::processEvents();
        if (request != m_playRequest)
            return;
        moveCurrentEntry(+1);
        if (!m_playingFlag)
            return;
    }
    m_timerMain.stop();
    setFlags(false, false);
}

Player::StartResult Player::startCurrentEntry(StartMode mode)
{
    const QString path = m_playlist.song(m_playlist.CurrentEntry());
    if (path.isEmpty())
        return StartResult::NothingToPlay;
    m_media.setFileName(path);
    if (m_media.fileName().isEmpty()) {
        qCDebug(lcPlayback).noquote() << "cannot open" << path;
        return StartResult::Failed;
    }
    qCDebug(lcPlayback).noquote() << QStringLiteral("starting \"%1\"").arg(path);
    // A lyric file that cannot be read only means no lyrics: the song still plays.
    m_lyrics.clear();
    FindLyric(lyricFilePath(m_media.fileName()), m_lyricDirs, m_lyrics);
    if (mode == StartMode::Play)
        m_media.play();
    const QString line = songLine();
    setLabel(Label::LTxtMin, QString());
    setLabel(Label::LTxtMax, line);
    setLabel(Label::LInfo, line);
    m_songSeconds = int(roundHalfEven(m_media.duration()));
    setPositionKnobLeft(m_limits.PosSliderLeft);
    if (mode == StartMode::Play) {
        m_timerMain.start(ShortestTickMs);
        setFlags(true, false);
    } else {
        m_timerMain.stop();
        setFlags(false, true);
    }
    return StartResult::Started;
}

QString Player::songLine() const
{
    return m_media.mediaInfoString(MediaControl::InfoAuthor) + QStringLiteral(" - ") +
           m_media.mediaInfoString(MediaControl::InfoTitle);
}

void Player::PauseSong()
{
    if (m_pausedFlag) {
        if (m_media.fileName().isEmpty())
            return;
        m_media.play();
        m_timerMain.start(ShortestTickMs);
        setFlags(true, false);
    } else {
        m_media.pause();
        m_timerMain.stop();
        setFlags(false, true);
    }
}

void Player::StopSong()
{
    m_media.pause();
    m_media.setCurrentPosition(0);
    m_timerMain.stop();
    m_lyrics.select(0);
    setFlags(false, m_pausedFlag);
}

void Player::NextSong()
{
    if (m_playlist.count() == 0)
        return;
    moveCurrentEntry(+1);
    if (m_playingFlag)
        PlaySong();
}

void Player::PreviousSong()
{
    if (m_playlist.count() == 0)
        return;
    moveCurrentEntry(-1);
    if (m_playingFlag)
        PlaySong();
}

// Moves the current entry one step with wrap-around, carrying its highlight along.
void Player::moveCurrentEntry(int step)
{
    const int count = m_playlist.count();
    if (count == 0)
        return;
    const int current = m_playlist.CurrentEntry();
    if (current >= 0)
        m_playlist.setHighlighted(current, false);
    int next;
    if (step > 0)
        next = (current < 0 || count - current <= 1) ? 0 : current + 1;
    else
        next = current < 1 ? count - 1 : current - 1;
    m_playlist.setCurrentEntry(next);
    m_playlist.setHighlighted(next, true);
}

void Player::DelSelectedSong()
{
    m_playlist.removeHighlighted();
}

void Player::OpenLyric(LyricFileChooser &chooser)
{
    ::OpenLyric(chooser, m_lyrics);
}

void Player::showLyric(const std::optional<QString> &text)
{
    if (!text)
        return;
    setLabel(Label::LTxtMin, *text);
    setLabel(Label::LTxtMax, *text);
}

void Player::setFlags(bool playing, bool paused)
{
    if (m_playingFlag == playing && m_pausedFlag == paused)
        return;
    m_playingFlag = playing;
    m_pausedFlag = paused;
    emit flagsChanged();
}

void Player::setLabel(Label label, const QString &text)
{
    QString &current = m_labels[int(label)];
    if (current == text)
        return;
    current = text;
    emit labelChanged(label, text);
}

// --- Position and seeking ------------------------------------------------------------

void Player::onTimerMain()
{
    const float position = float(m_media.currentPosition());
    ShowTime(position);
    showLyric(SyncLyric(m_lyrics, position));
    // A track of unknown length leaves the knob where it is.
    if (m_songSeconds > 0) {
        const float travel = float(m_limits.PosSliderRight - m_limits.PosSliderLeft);
        const long target =
            roundHalfEven(position / float(m_songSeconds) * travel + float(m_limits.PosSliderLeft));
        // The tick only moves the knob forward and ignores steps of a pixel, so the knob
        // does not jitter; seeks place it themselves.
        if (double(target) - m_positionKnobLeft > 1)
            setPositionKnobLeft(double(target));
    }
    m_timerMain.setInterval(nextTickDelay(position));
}

int Player::nextTickDelay(float position) const
{
    if (!m_playingFlag)
        return LongestTickMs;
    double wait = LongestTickMs / 1000.0;
    auto changeAt = [&](double seconds) {
        if (seconds > position)
            wait = std::min(wait, seconds - position);
    };
    // The time label rounds, so its text changes at (or, for a half that rounds down to an
    // even second, just after) half a second past each whole second.
    wait = std::min(wait, std::ceil(position - 0.5) + 0.5 - position);
    // The knob steps once its target is two pixels on.
    if (m_songSeconds > 0) {
        const double travel = m_limits.PosSliderRight - m_limits.PosSliderLeft;
        changeAt((m_positionKnobLeft + 1.5 - m_limits.PosSliderLeft) * m_songSeconds / travel);
    }
    // The next lyric line blanks the labels 0.2 s before it is due; lines that are due
    // already are caught up one per tick.
    const int due = m_lyrics.selectedIndex();
    const double dueAt = m_lyrics.seconds(due);
    if (dueAt > position + LyricBlankLead)
        changeAt(dueAt - LyricBlankLead);
    else if (dueAt > position)
        changeAt(dueAt);
    else if (due + 1 < m_lyrics.count())
        wait = 0;
    // Whole milliseconds, rounded up (forgiving the error of decimal times in binary).
    return std::clamp(int(std::ceil(wait * 1000 - 1e-6)), ShortestTickMs, LongestTickMs);
}

void Player::ShowTime(float seconds)
{
    // The tick shows the time a hundred times a second; the text changes once a second.
    const long whole = roundHalfEven(seconds);
    if (whole == m_shownSeconds)
        return;
    m_shownSeconds = whole;
    const long minutes = whole / 60;
    const long rest = whole % 60;
    setLabel(Label::LTime, QStringLiteral("%1:%2")
                               .arg(minutes, 2, 10, QLatin1Char('0'))
                               .arg(rest, 2, 10, QLatin1Char('0')));
}

void Player::SeekToSlider()
{
    const float travel = float(m_limits.PosSliderRight - m_limits.PosSliderLeft);
    float seconds =
        float(m_positionKnobLeft - m_limits.PosSliderLeft) / travel * float(m_songSeconds);
    seconds = std::clamp(seconds, 0.0f, float(m_songSeconds));
    showLyric(refindLyricLine(m_lyrics, seconds));
    m_media.setCurrentPosition(seconds);
    ShowTime(seconds);
    m_timerMain.start(ShortestTickMs);
}

void Player::FastForward()
{
    setPositionKnobLeft(std::min(m_positionKnobLeft + 5, double(m_limits.PosSliderRight)));
    SeekToSlider();
}

void Player::FastPre()
{
    setPositionKnobLeft(std::max(m_positionKnobLeft - 5, double(m_limits.PosSliderLeft)));
    SeekToSlider();
}

void Player::setPositionKnobLeft(double left)
{
    if (m_positionKnobLeft == left)
        return;
    m_positionKnobLeft = left;
    emit positionKnobMoved(left);
}

// --- Volume, mute and balance --------------------------------------------------------

void Player::SetMediaVolume()
{
    const float travel = float(m_limits.VolSliderRight - m_limits.VolSliderLeft);
    float volume = float(m_volumeKnobLeft - m_limits.VolSliderLeft) / travel * 4000.0f - 4000.0f;
    // The quietest setting is -30 dB: the leftmost part of the travel all gives it.
    volume = std::clamp(volume, -3000.0f, 0.0f);
    m_media.setVolume(int(roundHalfEven(volume)));
}

void Player::ShowVolume()
{
    const double travel = m_limits.VolSliderRight - m_limits.VolSliderLeft;
    setVolumeKnobLeft(m_limits.VolSliderLeft + (m_media.volume() + 4000.0) / 4000.0 * travel);
}

void Player::VolumeUp()
{
    setVolumeKnobLeft(std::min(m_volumeKnobLeft + 2, double(m_limits.VolSliderRight)));
    SetMediaVolume();
}

void Player::VolumeDown()
{
    setVolumeKnobLeft(std::max(m_volumeKnobLeft - 2, double(m_limits.VolSliderLeft)));
    SetMediaVolume();
}

void Player::MuteSong()
{
    m_mutedFlag = !m_mutedFlag;
    m_media.setMute(m_mutedFlag);
    emit flagsChanged();
}

void Player::SetMediaBalance()
{
    const float travel = float(m_limits.BalSliderRight - m_limits.BalSliderLeft);
    float balance = float(m_balanceKnobLeft - m_limits.BalSliderLeft) / travel * 10000.0f - 5000.0f;
    balance = std::clamp(balance, -5000.0f, 5000.0f);
    m_media.setBalance(int(roundHalfEven(balance)));
}

void Player::SetBanlance(int what)
{
    BalancePreset preset = BalancePreset::None;
    switch (what) {
    case 0:
        setBalanceKnobLeft(m_limits.BalSliderLeft);
        preset = BalancePreset::Left;
        break;
    case 1:
        setBalanceKnobLeft((m_limits.BalSliderRight - m_limits.BalSliderLeft) / 2.0 +
                           m_limits.BalSliderLeft);
        preset = BalancePreset::Stereo;
        break;
    case 2:
        setBalanceKnobLeft(m_limits.BalSliderRight);
        preset = BalancePreset::Right;
        break;
    default:
        break;
    }
    setBalancePreset(preset);
    SetMediaBalance();
}

void Player::setVolumeKnobLeft(double left)
{
    if (m_volumeKnobLeft == left)
        return;
    m_volumeKnobLeft = left;
    emit volumeKnobMoved(left);
}

void Player::setBalanceKnobLeft(double left)
{
    if (m_balanceKnobLeft == left)
        return;
    m_balanceKnobLeft = left;
    emit balanceKnobMoved(left);
}

void Player::setBalancePreset(BalancePreset preset)
{
    if (m_balancePreset == preset)
        return;
    m_balancePreset = preset;
    emit flagsChanged();
}

// --- Mouse on knobs and tracks -------------------------------------------------------

void Player::positionKnobDragged(int offsetX)
{
    m_timerMain.stop();
    setPositionKnobLeft(std::clamp(offsetX + m_positionKnobLeft - PositionGrip,
                                   double(m_limits.PosSliderLeft),
                                   double(m_limits.PosSliderRight)));
}

void Player::positionKnobReleased()
{
    SeekToSlider();
}

void Player::volumeKnobDragged(int offsetX)
{
    setVolumeKnobLeft(std::clamp(offsetX + m_volumeKnobLeft - SmallKnobGrip,
                                 double(m_limits.VolSliderLeft), double(m_limits.VolSliderRight)));
    SetMediaVolume();
}

void Player::balanceKnobDragged(int offsetX)
{
    setBalanceKnobLeft(std::clamp(offsetX + m_balanceKnobLeft - SmallKnobGrip,
                                  double(m_limits.BalSliderLeft), double(m_limits.BalSliderRight)));
    SetMediaBalance();
}

void Player::balanceKnobReleased()
{
    setBalancePreset(BalancePreset::None);
}

bool Player::clickPanel(int x, int y)
{
    const SliderLimits &l = m_limits;
    // A click moves the knob's grip under the pointer without limiting it; the value
    // sent is limited instead.
    if (x >= l.PosSliderLeft && x <= l.PosSliderRight && y > l.PosSliderTop &&
        y <= l.PosSliderBottom) {
        setPositionKnobLeft(x - PositionGrip);
        SeekToSlider();
        return true;
    }
    if (x >= l.VolSliderLeft && x <= l.VolSliderRight && y > l.VolSliderTop &&
        y <= l.VolSliderBottom) {
        setVolumeKnobLeft(x - SmallKnobGrip);
        SetMediaVolume();
        return true;
    }
    if (x >= l.BalSliderLeft && x <= l.BalSliderRight && y > l.BalSliderTop &&
        y <= l.BalSliderBottom) {
        setBalanceKnobLeft(x - SmallKnobGrip);
        SetMediaBalance();
        return true;
    }
    return false;
}

// --- Keys ----------------------------------------------------------------------------

void Player::HandleKey(int keyCode, int shift)
{
    if (shift == AltKey) {
        if (keyCode == KeyEnter)
            m_window.FullScr();
        else if (keyCode == KeyF4)
            m_window.UnloadMe();
        return;
    }
    if (shift == CtrlKey)
        return;
    switch (keyCode) {
    case KeyPlus:
        NextSong();
        break;
    case KeyMinus:
        PreviousSong();
        break;
    case KeyP:
        PlaySong();
        break;
    case KeyEnter:
        PauseSong();
        break;
    case KeyM:
        MuteSong();
        break;
    case KeyUp:
        VolumeUp();
        break;
    case KeyDown:
        VolumeDown();
        break;
    case KeyLeft:
        FastPre();
        break;
    case KeyRight:
        FastForward();
        break;
    case KeyF12:
        m_window.SetOntop();
        break;
    case KeyEscape:
        m_window.OrgScr();
        break;
    default:
        break;
    }
}

// --- Start-up and shutdown -----------------------------------------------------------

void Player::LoadCommandSong(const QString &commandText, const QString &defaultListPath)
{
    if (!commandText.isEmpty()) {
        QString path = commandText;
        path.remove(u'"');
        // A relative path names a file in the folder the program was started from;
        // stored absolute, it still names that file when the list comes back next time.
        path = QFileInfo(path).absoluteFilePath();
        if (isPlaylistPath(path)) {
            const PlaylistEntries entries = LoadPlaylist(path);
            m_playlist.append(entries.songs, entries.infos);
        } else {
            m_playlist.append({path});
        }
        if (m_playlist.count() == 0)
            return;
        m_playlist.setCurrentEntry(0);
        m_playlist.setHighlighted(0, true);
        PlaySong();
        return;
    }
    const PlaylistEntries saved = LoadPlaylist(defaultListPath);
    m_playlist.append(saved.songs, saved.infos);
    if (m_playlist.count() == 0)
        return;
    m_playlist.setCurrentEntry(0);
    m_playlist.setHighlighted(0, true);
    // Loaded and paused at its start, without a moment of sound in between, with the
    // lyric display where it stands at 0.
    startSong(StartMode::Cue);
    showLyric(SyncLyric(m_lyrics, 0));
}

QString Player::shutDown(const QString &defaultListPath)
{
    m_appRunning = false;
    const WriteResult saved = SavePlaylist(defaultListPath, m_playlist.songs());
    m_media.setFileName(QString());
    m_timerMain.stop();
    return saved.ok ? QString() : saved.error;
}
