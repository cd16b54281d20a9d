#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "slideshow/picshow.h"
#include "slideshow/transitionplan.h"

namespace {

TEST(PicShowTest, TicksGoThroughTheListAndWrapAround)
{
    struct Case
    {
        int count;
        int shown;
        int next;
    };
    const QList<Case> cases{
        {3, 0, 1}, {3, 1, 2}, {3, 2, 0}, {1, 0, 0}, {3, -1, 0}, {3, 7, 0}, {0, -1, -1}, {0, 0, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(nextPictureIndex(c.count, c.shown), c.next) << c.count << ", " << c.shown;

    // A freshly loaded list of three selects its first entry: the ticks show 2, 3, 1, 2.
    QList<int> shown;
    for (int index = 0; shown.size() < 4;)
        shown.append((index = nextPictureIndex(3, index)) + 1);
    EXPECT_EQ(shown, (QList<int>{2, 3, 1, 2}));
}

TEST(PicShowTest, TheEffectFollowsTheTimeOfDay)
{
    for (const quint32 seed : {1u, 99u, 123456u}) {
        std::mt19937 generator(seed);
        for (int draw = 0; draw < 20; ++draw)
            EXPECT_EQ(chooseEffect(0.0F, generator), 0) << "midnight, seed " << seed;
    }
    std::mt19937 generator(5);
    QList<int> chosen(EffectCount, 0);
    for (int draw = 0; draw < 200; ++draw) {
        const int effect = chooseEffect(43200.5F, generator);
        ASSERT_TRUE(effect >= 0 && effect < EffectCount) << effect;
        ++chosen[effect];
    }
    EXPECT_FALSE(chosen.contains(0)) << "at noon every effect comes up";
}

TEST(PicShowTest, PicturesAreCentredHalvesToEven)
{
    struct Case
    {
        QSize window;
        QSize picture;
        QPoint at;
    };
    const QList<Case> cases{
        {{1024, 768}, {801, 600}, {112, 84}},     {{1024, 768}, {803, 601}, {110, 84}},
        {{1024, 768}, {1100, 1001}, {-38, -116}}, {{1024, 768}, {1025, 769}, {0, 0}},
        {{1024, 768}, {1027, 771}, {-2, -2}},     {{1023, 767}, {100, 100}, {462, 334}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(centredPosition(c.window, c.picture), c.at) << c.picture.width();

    // Around the picture and under its transparent parts lies the background.
    QImage picture(2, 2, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    picture.setPixelColor(1, 1, Qt::transparent);
    const QImage composed = composePicture(picture, QSize(5, 4), Qt::blue);
    EXPECT_EQ(composed.size(), QSize(5, 4));
    EXPECT_EQ(composed.pixelColor(2, 1), QColor(Qt::red));
    EXPECT_EQ(composed.pixelColor(3, 2), QColor(Qt::blue));
    EXPECT_EQ(composed.pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(composed.pixelColor(4, 3), QColor(Qt::blue));
}

// A JPEG of `size` whose EXIF orientation says it is to be turned by 90 degrees clockwise.
QByteArray turnedJpeg(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    // A red band along the stored top edge; shown upright it runs down the right edge.
    for (int x = 0; x < size.width(); ++x) {
        for (int y = 0; y < 8; ++y)
            picture.setPixelColor(x, y, Qt::red);
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", 95);
    // APP1 with one big-endian TIFF entry: Orientation (0x0112), SHORT, 1 value, 6.
    const QByteArray exif = QByteArray("\xff\xe1\x00\x22"
                                       "Exif\0\0"
                                       "MM\x00\x2a\x00\x00\x00\x08"
                                       "\x00\x01"
                                       "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                                       "\x00\x00\x00\x00",
                                       36);
    return jpeg.insert(2, exif);
}

TEST(PicShowTest, OnlyReadablePictureFilesAreShown)
{
    QTemporaryDir dir;
    const auto path = [&dir](const char *name) { return dir.filePath(QLatin1String(name)); };
    QImage small(3, 2, QImage::Format_RGB32);
    small.fill(Qt::green);
    ASSERT_TRUE(small.save(path("small.png")));
    ASSERT_TRUE(small.save(path(".hidden.png")));
    QFile turned(path("turned.jpg"));
    ASSERT_TRUE(turned.open(QIODevice::WriteOnly));
    turned.write(turnedJpeg(QSize(40, 20)));
    turned.close();
    QFile text(path("text.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture here\n");
    text.close();
    QFile cut(path("cut.png"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    QFile whole(path("small.png"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    cut.write(whole.readAll().left(40));
    cut.close();
    ASSERT_EQ(mkfifo(path("pipe.jpg").toLocal8Bit().constData(), 0600), 0);
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));

    struct Case
    {
        QString path;
        bool isFile;
        QSize picture; // empty: no picture
    };
    const QList<Case> cases{
        {path("small.png"), true, {3, 2}},
        {path("turned.jpg"), true, {20, 40}},
        {path("text.jpg"), true, {}},
        {path("cut.png"), true, {}},
        {path("none.png"), false, {}},
        {path(".hidden.png"), false, {}},
        {path("pipe.jpg"), false, {}},
        {path("folder.jpg"), false, {}},
        {QStringLiteral("/dev/zero"), false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(isPictureFile(c.path), c.isFile);
        if (!c.isFile)
            continue;
        const std::optional<QImage> picture = loadPicture(c.path);
        EXPECT_EQ(picture ? picture->size() : QSize(), c.picture);
    }
    const std::optional<QImage> upright = loadPicture(path("turned.jpg"));
    ASSERT_TRUE(upright);
    EXPECT_GT(upright->pixelColor(17, 30).red(), 200) << "the band runs down the right edge";
    EXPECT_LT(upright->pixelColor(17, 30).green(), 60);
    EXPECT_GT(upright->pixelColor(2, 30).green(), 200);
}

} // namespace
