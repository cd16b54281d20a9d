#include <algorithm>
#include <cmath>
#include <optional>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include <QUrl>
#include <QtEndian>

#include "gstfixtures.h"
#include "platform/gsttrack.h"
#include "support/files.h"

// Lengths that come true while a track plays, and tracks that follow one another without a
// gap.

namespace {

using GstFollowTest = GstPlayerTest;

// The samples of a WAV file written by tone(), as the sink receives them.
std::vector<float> samplesOf(const QString &path)
{
    const QByteArray bytes = readFile(path);
    const qsizetype data = bytes.indexOf("data") + 8;
    const qsizetype size = qFromLittleEndian<quint32>(bytes.constData() + data - 4);
    std::vector<float> samples(size_t(size / 2));
    for (size_t index = 0; index < samples.size(); ++index)
        samples[index] = qFromLittleEndian<qint16>(bytes.constData() + data + 2 * index) / 32768.0f;
    return samples;
}

// A stream whose bit rate falls after its start, with no header that gives its length: the
// length read after the preroll, from the first frames' rate, is far too short.
TEST_F(GstFollowTest, VariableRateLengthComesTrueAndSeeksPassTheGuess)
{
    const QString mp3 = encode(
        "vbr.mp3", "audiotestsrc wave=white-noise num-buffers=100 samplesperbuffer=441 ! "
                   "audio/x-raw,rate=44100,channels=2 ! joined. "
                   "audiotestsrc wave=sine volume=0.02 num-buffers=900 samplesperbuffer=441 ! "
                   "audio/x-raw,rate=44100,channels=2 ! joined. "
                   "concat name=joined ! audioconvert ! lamemp3enc target=quality quality=0");
    constexpr double TrueLength = 10.0;
    // Where a seek goes, how much of the track is heard after it, and how near the length
    // comes to the true one: after a seek the parser estimates from fewer frames.
    struct SeekCase
    {
        std::optional<double> target;
        double heardSeconds, lengthTolerance;
    };
    const SeekCase cases[] = {
        {{}, TrueLength, 0.1}, {8.0, 2.0, 0.5}, {30.0, 0.0, 0.5}, {-3.0, TrueLength, 1.5}};
    for (const SeekCase &entry : cases) {
        SCOPED_TRACE(entry.target.value_or(-1));
        ASSERT_TRUE(open(mp3));
        EXPECT_GT(m_control->duration(), 0.0);
        EXPECT_LT(m_control->duration(), TrueLength * 0.75) << "the guess is not wrong";
        if (entry.target)
            m_control->setCurrentPosition(*entry.target);
        ASSERT_TRUE(playToEnd());
        // The encoder adds a few hundredths of a second of silence around the sound.
        EXPECT_NEAR(double(takeHeard().size()) / 2 / Rate, entry.heardSeconds, 0.1);
        // Its end has shown the parser every frame it reads.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return std::abs(m_control->duration() - TrueLength) < entry.lengthTolerance;
        })) << m_control->duration();
        EXPECT_GT(count(event("length")), 0);
    }
}

// The URI of the track playbin reads, which is the queued track's once it was handed over.
QByteArray playingUriOf(GstElement *sink)
{
    g_autoptr(GstObject) pipeline = GST_OBJECT(gst_object_ref(sink));
    while (GstObject *parent = gst_object_get_parent(pipeline))
        gst_object_unref(std::exchange(pipeline, parent));
    g_autofree gchar *uri = nullptr;
    g_object_get(pipeline, "current-uri", &uri, nullptr);
    return uri;
}

// Three tones back to back, the second queued when the first starts and the third when the
// second is followed (a track is read to its end about a second before it is heard to it):
// the sink is given every sample, in order, with nothing between them, and from each follow
// on the control describes the track that follows, not the one before. A seek while the second is
// handed over (read, not yet heard) is a seek in the first.
TEST_F(GstFollowTest, QueuedTracksFollowWithoutAGap)
{
    m_isPaced = true;
    const QString tones[] = {tone("first.wav", 300, Wav, {.tags = "artist=Bo,title=One"}),
                             tone("second.wav", 150, Wav, {.hertz = 882}),
                             tone("third.wav", 20, Wav, {.tags = "title=Three"})};
    QStringList atFollow;
    QObject::connect(m_control.get(), &MediaControl::followed, [&](quint64 serial) {
        atFollow << QString("%1|%2|%3|%4")
                        .arg(m_control->fileName(),
                             m_control->mediaInfoString(MediaControl::InfoAuthor),
                             m_control->mediaInfoString(MediaControl::InfoTitle))
                        .arg(m_control->duration());
        if (serial == 2)
            m_control->queueNext(3, tones[2]);
    });
    ASSERT_TRUE(open(tones[0]));
    m_control->queueNext(2, tones[1]);
    m_control->play();
    const QByteArray second = QUrl::fromLocalFile(tones[1]).toEncoded();
    ASSERT_TRUE(
        waitFor("ended 1", [&] { return playingUriOf(GST_ELEMENT(m_sink.get())) == second; }));
    ASSERT_EQ(m_events, QStringList({"opened 1"}));
    m_control->setCurrentPosition(0.1);
    ASSERT_TRUE(waitFor("ended 3")) << m_events.join(", ").toStdString();
    EXPECT_EQ(m_events.filter(QRegularExpression("^(opened|followed|ended|failed)")),
              QStringList({"opened 1", "followed 2", "followed 3", "ended 3"}));
    // Each is told with its length and tags, and none of the one before.
    EXPECT_EQ(atFollow, QStringList({tones[1] + "|||1.5", tones[2] + "||Three|0.2"}));
    EXPECT_NEAR(m_control->currentPosition(), 0.2, 0.001);
    // What the sink held before the seek's flush went; all from the seek on is heard.
    std::vector<float> expected = samplesOf(tones[0]);
    expected.erase(expected.begin(), expected.begin() + Rate / 10 * 2);
    for (const QString &path : {tones[1], tones[2]}) {
        const std::vector<float> samples = samplesOf(path);
        expected.insert(expected.end(), samples.begin(), samples.end());
    }
    const std::vector<float> heard = takeHeard();
    ASSERT_GE(heard.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.rbegin(), expected.rend(), heard.rbegin()));
}

// A queued track that cannot start leaves the playing one to play out whole, which then
// ends under its own serial; the caller opens the next one itself. The sink is paced, so
// that the queued track fails while the playing one is still heard.
TEST_F(GstFollowTest, QueuedTrackThatCannotStartEndsThePlayingOne)
{
    m_isPaced = true;
    const QString first = tone("first.wav", 150);
    const QString pipe = m_folder.filePath("pipe.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString queued[] = {m_folder.filePath("missing.wav"),
                              writeFile(m_folder.filePath("text.wav"), "not a sound file\r\n"),
                              pipe, /* withdrawn */ ""};
    for (const QString &path : queued) {
        SCOPED_TRACE(path.toStdString());
        m_events.clear();
        ASSERT_TRUE(open(first));
        const QStringList expected = {event("opened"), event("ended")};
        m_control->queueNext(++m_serial, path.isEmpty() ? first : path);
        if (path.isEmpty())
            m_control->queueNext(m_serial, "");
        m_control->play();
        ASSERT_TRUE(waitFor(expected.last()));
        EXPECT_EQ(m_events, expected);
        EXPECT_TRUE(takeHeard() == samplesOf(first));
    }
    // The reader stuck on the pipe is let go with its track.
    m_control->release();
    EXPECT_TRUE(GstTrack::waitForAllEnded(5000));
}

} // namespace
