#include <algorithm>

#include "gstfixtures.h"

class GstDecodedPiecesTest : public GstPlayerTest
{
};

// Decoded sound reaches the sink in pieces of at least a tenth of a second (but the last),
// not an MP3 frame of 26 ms at a time: each piece wakes every thread behind the decoder.
TEST_F(GstDecodedPiecesTest, DecodedSoundComesInTenthsOfASecond)
{
    ASSERT_TRUE(open(tone("song.mp3", 200, Mp3)));
    m_control->play();
    std::vector<gsize> bytes;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const std::lock_guard<std::mutex> lock(m_sinkMutex);
        g_autoptr(GstSample) sample = gst_app_sink_try_pull_sample(m_sink.get(), 0);
        if (sample)
            bytes.push_back(gst_buffer_get_size(gst_sample_get_buffer(sample)));
        return !sample && count(event("ended")) == 1;
    }));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_GE(*std::min_element(bytes.begin(), bytes.end() - 1), Rate / 10 * 2 * sizeof(float));
}
