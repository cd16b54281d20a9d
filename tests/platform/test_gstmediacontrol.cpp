#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "gstfixtures.h"
#include "platform/gsttrack.h"
#include "support/files.h"

namespace {

using Failure = MediaControl::Failure;
using GstMediaControlTest = GstPlayerTest;

const double FiftyDecibelsDown = std::pow(10.0, -2.5);

// The level of `channel` in `samples` (two channels interleaved) as a gain on the tone, a
// sine at half of full scale whose RMS is the level of unity gain.
double levelOf(const std::vector<float> &samples, size_t channel)
{
    double squares = 0;
    for (size_t index = channel; index < samples.size(); index += 2)
        squares += double(samples[index]) * samples[index];
    return std::sqrt(2 * squares / double(std::max<size_t>(samples.size() / 2, 1))) / 0.5;
}

// What opening a file gives: its length and tags, or the reason it is refused.
struct FileCase
{
    QString path;
    std::optional<Failure> refusal;
    double seconds = 0, tolerance = 0;
    QString artist = {}, title = {};
};

// Every file plays whole and ends once, or is refused with its reason, and the track before
// it is released. A track's pipeline is freed once it is replaced or released, however it
// ended; one left behind keeps its threads and file descriptors too. Tags in a legacy 8-bit
// encoding (ID3v1, ID3v2's ISO-8859-1 frames) reach the tag reader byte for byte, so that
// GB18030 bytes read as Chinese, Latin-1 ones as Latin-1 (the rule is the text codec's test).
TEST_F(GstMediaControlTest, FilesPlayWholeOrAreRefusedAndLeaveNoElementBehind)
{
    const QByteArray mp3 = readFile(tone("plain.mp3", 300, Mp3));
    const QString wav = tone("tone.wav", 150);
    const QByteArray artist = "\xcd\xf5\xb7\xc6", title = "\xba\xec\xb6\xb9"; // in GB18030
    // An ID3v1 tag: title, artist, the rest empty.
    const QString v1 = writeFile(m_folder.filePath("v1.mp3"),
                                 mp3 + "TAG" + title.leftJustified(30, 0) +
                                     artist.leftJustified(30, 0) + QByteArray(64, 0) + '\xff');
    // ID3v2.3 before the sound: artist and title as ISO-8859-1 frames.
    const auto id3v2 = [&](const char *name, const QByteArray &artist, const QByteArray &title) {
        QByteArray frames;
        for (const auto &[id, text] : {std::pair{"TPE1", artist}, std::pair{"TIT2", title}})
            frames += id + QByteArray(3, 0) + char(text.size() + 1) + QByteArray(3, 0) + text;
        return writeFile(m_folder.filePath(name),
                         "ID3\x03" + QByteArray(5, 0) + char(frames.size()) + frames + mp3);
    };
    const FileCase cases[] = {
        {wav, {}, 1.5, 0.001},
        // Constant bit rate without a length header: only the frames tell the length.
        {v1, {}, 3.0, 0.1, "王菲", "红豆"},
        {id3v2("v2.mp3", artist, title), {}, 3.0, 0.1, "王菲", "红豆"},
        {id3v2("latin.mp3", "Bj\xf6rk", "J\xf3ga"), {}, 3.0, 0.1, "Björk", "Jóga"},
        {writeFile(m_folder.filePath("text.mp3"), "not a sound file\r\n"), Failure::NotAudio},
        {tone("tone.wma", 300, Wma), {}, 3.0, 0.05},
        {m_folder.filePath("missing.mp3"), Failure::Missing},
        {encode("picture.png", "videotestsrc num-buffers=1 ! pngenc"), Failure::NotAudio},
    };
    for (const FileCase &entry : cases) {
        SCOPED_TRACE(entry.path.toStdString());
        ASSERT_EQ(open(entry.path), !entry.refusal);
        // A refused file leaves no track behind, not even the one before it.
        EXPECT_EQ(m_control->fileName(), entry.refusal ? QString() : entry.path);
        EXPECT_NEAR(m_control->duration(), entry.seconds, entry.tolerance);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoAuthor), entry.artist);
        EXPECT_EQ(m_control->mediaInfoString(MediaControl::InfoTitle), entry.title);
        if (entry.refusal) {
            EXPECT_EQ(m_lastFailure, *entry.refusal);
            continue;
        }
        ASSERT_TRUE(playToEnd());
        // A lossy codec adds a few hundredths of a second of silence around the sound.
        EXPECT_NEAR(double(takeHeard().size()) / 2, entry.seconds * Rate, Rate / 20.0);
        EXPECT_NEAR(m_control->currentPosition(), m_control->duration(), 0.01);
        // Decoded MP3 comes in pieces of a tenth of a second at least (but the last), not a
        // frame of 26 ms at a time: each piece wakes every thread behind the decoder.
        const std::vector<gsize> pieces = std::exchange(m_pieces, {});
        if (entry.path.endsWith(".mp3")) {
            EXPECT_GE(pieces.size() < 2 ? 0 : *std::min_element(pieces.begin(), pieces.end() - 1),
                      Rate / 10 * 2 * sizeof(float));
        }
    }
    // A cut file ends or fails once, with a changed output queued while it plays. Opening it
    // is what proves that no second end was queued before.
    ASSERT_TRUE(open(writeFile(m_folder.filePath("truncated.mp3"), mp3.left(mp3.size() / 3))));
    EXPECT_EQ(count("ended \\d+"), 5);
    m_control->setBalance(2000);
    m_control->play();
    const QString answer = event("(ended|failed)");
    ASSERT_TRUE(waitFor(answer));
    ASSERT_TRUE(open(wav));
    EXPECT_EQ(count(answer), 1);
    m_control->release();
    ASSERT_TRUE(GstTrack::waitForAllEnded(5000));
    // The leak tracer (see SetUp()) lists the players' pipelines and volume stages still alive.
    g_autolist(GstTracer) tracers = gst_tracing_get_active_tracers();
    g_autoptr(GstStructure) live = nullptr;
    ASSERT_TRUE(tracers);
    g_signal_emit_by_name(tracers->data, "get-live-objects", &live);
    ASSERT_TRUE(live);
    EXPECT_EQ(gst_value_list_get_size(gst_structure_get_value(live, "live-objects-list")), 0u);
}

struct LevelCase
{
    int volume, balance;
    bool isMuted;
    const QString &second;
    double left, right;
};

TEST_F(GstMediaControlTest, LevelsFollowVolumeBalanceAndMuteAcrossFiles)
{
    const QString first = tone("first.wav", 20);
    const QString stereo = tone("second.wav", 20);
    // The same tone in one channel, which both channels play.
    const QString mono = tone("mono.wav", 20, Wav, {.channels = 1});
    const LevelCase cases[] = {
        {-2000, 0, false, stereo, 0.1, 0.1},
        {0, -5000, false, stereo, 1, FiftyDecibelsDown},
        {0, 0, true, stereo, 0, 0},
        {0, 5000, false, mono, FiftyDecibelsDown, 1},
    };
    for (const LevelCase &entry : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &entry - cases);
        // Set before the first file and while the second opens: both must hold for it.
        m_control->setVolume(entry.volume);
        ASSERT_TRUE(open(first));
        m_control->open(++m_serial, entry.second);
        m_control->setBalance(entry.balance);
        m_control->setMute(entry.isMuted);
        ASSERT_TRUE(playToEnd());
        const std::vector<float> heard = takeHeard();
        EXPECT_EQ(heard.size(), size_t(Rate / 5 * 2));
        EXPECT_NEAR(levelOf(heard, 0), entry.left, entry.left * 0.02 + 1e-4);
        EXPECT_NEAR(levelOf(heard, 1), entry.right, entry.right * 0.02 + 1e-4);
    }
}

// A source that never delivers, or stops delivering, fails in bounded time and the next track
// plays.
TEST_F(GstMediaControlTest, StalledSourcesFailInTimeAndTheNextTrackPlays)
{
    const QString next = tone("next.wav", 20);
    const QByteArray wav = readFile(tone("long.wav", 400));
    // What a writer sends before it stalls; without bytes nothing ever opens the pipe.
    for (const QByteArray &sent : {QByteArray(), wav.left(wav.size() / 2)}) {
        SCOPED_TRACE(sent.isEmpty() ? "a pipe without a writer" : "a pipe that stalls");
        const QString pipe = m_folder.filePath(QString("pipe-%1.wav").arg(m_serial));
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        // The pipe holds all that is sent, and the writer stays until it is closed.
        const int writer =
            sent.isEmpty() ? -1 : ::open(QFile::encodeName(pipe).constData(), O_RDWR);
        ASSERT_TRUE(sent.isEmpty() ||
                    (::fcntl(writer, F_SETPIPE_SZ, int(sent.size())) >= sent.size() &&
                     ::write(writer, sent.constData(), sent.size()) == sent.size()));
        if (open(pipe))
            m_control->play(); // it prerolled from what was sent: the stall comes later
        ASSERT_TRUE(waitFor(event("failed"), {}, 12000));
        EXPECT_EQ(m_lastFailure, Failure::TimedOut);
        // Skipping over the stuck source again and again leaves one track on it at most.
        for (int visit = 0; visit < 5; ++visit)
            m_control->open(++m_serial, pipe);
        ASSERT_TRUE(open(next));
        EXPECT_TRUE(playToEnd());
        EXPECT_TRUE(GstTrack::waitForAllEnded(4000, 2)) << "the source and the next track";
        m_control->release();
        // A reader blocked in opening the pipe is let go by the player; one waiting for the
        // next byte of a writer that stalls is held until that writer goes away.
        if (writer >= 0)
            ::close(writer);
        EXPECT_TRUE(GstTrack::waitForAllEnded(5000)) << "the pipe's reader was let go";
    }
}

} // namespace
