#include "app/playerapp.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QTime>

#include "core/mediacontrol.h"
#include "core/session.h"
#include "core/usermessages.h"
#include "ui/fullscreenpanel.h"
#include "ui/transitionpainter.h"

namespace {

Q_LOGGING_CATEGORY(lcShutdown, "zorvan.shutdown")

// The options dialog edits the desktop lyric window's looks in its store.
OptionsServices withDesktopLyrics(OptionsServices options, DesktopLyricStore &store)
{
    options.desktopLyrics = [&store] { return store.settings(); };
    options.setDesktopLyrics = [&store](const DesktopLyricSettings &look) {
        store.setSettings(look);
    };
    return options;
}

double secondsSinceMidnight()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace

PlayerApp::PlayerApp(const Services &services)
    : m_media(services.media), m_session(services.session), m_messages(services.messages),
      m_player(services.media, services.session, services.readTags),
      m_window(m_player, services.session, services.lyricChooser, services.playlistDialogs,
               services.messages),
      m_slideshow(services.session, *m_window.PicBg().picture(), secondsSinceMidnight,
                  quint32(QDateTime::currentMSecsSinceEpoch())),
      m_menus(m_player, withDesktopLyrics(services.options, m_player.desktopLyrics()), &m_window),
      m_desktopLyrics(m_player.desktopLyrics(), m_player.position(),
                      [this](Command command) { m_player.run(command); })
{
    connect(m_window.PicBg().picture(), &TransitionPainter::transitionEnded, &m_slideshow,
            &Slideshow::transitionEnded);
    connect(&m_slideshow, &Slideshow::pictureRefused, this, &PlayerApp::reportRefusedPicture);
    connect(&m_window, &FmMain::fullScreenChanged, &m_slideshow, &Slideshow::setFullScreen);
    connect(&m_window, &FmMain::fullScreenChanged, this, [this](bool isFullScreen) {
        m_desktopLyrics.followFullScreen(isFullScreen ? &m_window : nullptr);
    });
    m_window.setMenus(m_menus);
    m_window.setShutDown([this] { return shutDown(true); });
    m_session.keepWritten(m_player.transport().ListSong());
    m_session.setLiveState([this](SettingsRecord &settings) {
        if (const std::optional<QPointF> place = m_window.placeToKeep()) {
            settings.windowLeftTwips = place->x();
            settings.windowTopTwips = place->y();
        }
        settings.volume = m_media.volume();
    });
}

PlayerApp::~PlayerApp()
{
    m_session.setLiveState({});
    m_window.setShutDown({});
}

void PlayerApp::start(const CommandLineSongs &songs)
{
    m_window.Form_Load(songs);
    m_player.desktopLyrics().load();
}

void PlayerApp::quitQuietly()
{
    shutDown(false);
    // A signal waits for nobody to read the report: what it says is on stderr.
    m_isReportOpen = false;
    m_window.close();
}

// A file that cannot be written is reported and the rest goes on. No pending event runs in
// between: one could start again what the shutdown has stopped. Failures go to stderr first;
// in the window they are one report, shown without waiting, whose closing closes the window.
bool PlayerApp::shutDown(bool reportInWindow)
{
    if (m_isShutDown)
        return m_isReportOpen;
    m_isShutDown = true;
    m_session.endRun();
    m_slideshow.shutDown();
    const QList<Session::WriteFailure> stores = m_player.stop();
    const QList<Session::WriteFailure> written =
        m_session.save(m_player.transport().ListSong().songs()) + stores;
    QStringList failures;
    for (const Session::WriteFailure &failure : written) {
        qCWarning(lcShutdown, "cannot write %s: %s", qPrintable(failure.path),
                  qPrintable(failure.error));
        failures.append(writeFailureText(failure.path, failure.error));
    }
    m_menus.closeWindows();
    if (reportInWindow && !failures.isEmpty()) {
        m_isReportOpen = true;
        m_messages.tell(UserMessages::Tone::Warning, failures.join(u'\n'), [this] {
            m_isReportOpen = false;
            m_window.close();
        });
    }
    return m_isReportOpen;
}

// Shown without waiting for it: the slideshow goes on while the message is open.
void PlayerApp::reportRefusedPicture()
{
    m_messages.tell(UserMessages::Tone::Plain, QStringLiteral("图片文件不正确！"));
}
