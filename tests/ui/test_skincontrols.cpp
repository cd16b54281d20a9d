#include <functional>

#include <QSignalSpy>

#include "fmmainfixture.h"
#include "skin/skinimages.h"
#include "ui/skinbutton.h"
#include "ui/skinknob.h"
#include "ui/playlistbox.h"

namespace {

using Skin::Control;
using enum Skin::Control;
using enum Skin::Picture;

// A button or toggle shows the pressed picture on the press, which runs nothing; the release
// runs the command wherever the pointer is then and shows the normal picture of the new state.
// A toggle is clicked twice, through both of its states. The window's height with and without
// the list is checked on the real program (test_skin_window.sh).
TEST_F(FmMainTest, ButtonsAndTogglesShowTheirPicturesAndRunTheirCommandsOnRelease)
{
    SettingsRecord settings;
    settings.shared.ShowList = 2;
    load({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}, settings);
    EXPECT_EQ(window.height(), Skin::HeightWithoutList) << "ShowList 2 leaves the list hidden";
    const Playlist &list = transport().ListSong();
    using Pictures = QList<Skin::Picture>;
    const struct
    {
        Control control;
        Qt::MouseButton mouseButton;
        Pictures pictures; // shown before, then on each press and after each release
        std::function<bool()> done;
    } cases[] = {
        {ImgPreSong, Qt::RightButton, Pictures{Previous, PreviousPressed, Previous},
         [&] { return list.CurrentEntry() == 2; }},
        {ImgMin, Qt::MiddleButton, Pictures{Minimise, MinimisePressed, Minimise},
         [&] { return window.isMinimized(); }},
        {ImgLoop, Qt::LeftButton, Pictures{LoopOn, LoopOnPressed, LoopOff, LoopOffPressed, LoopOn},
         [&] { return transport().LoopMode(); }},
        {ImgRandom, Qt::LeftButton,
         Pictures{RandomOff, RandomOffPressed, RandomOn, RandomOnPressed, RandomOff},
         [&] { return !transport().RandomMode(); }},
        {ImgShowList, Qt::LeftButton,
         Pictures{ListOn, ListOnPressed, ListOff, ListOffPressed, ListOn},
         [&] { return window.showList() == 1 && face().ListSong()->isVisible(); }},
        {ImgCloseList, Qt::LeftButton, Pictures{Close, ClosePressed, Close},
         [&] { return window.height() == Skin::HeightWithoutList && window.showList() == 0; }},
    };
    for (const auto &[control, mouseButton, pictures, done] : cases) {
        SkinButton *button = face().button(control);
        const char *name = Skin::place(control).name;
        const QSignalSpy triggered(button, &SkinButton::triggered);
        Pictures seen{button->shownPicture()};
        while (seen.size() < pictures.size()) {
            QTest::mousePress(button, mouseButton, {}, QPoint(3, 3));
            seen << button->shownPicture();
            EXPECT_EQ(triggered.count(), seen.size() / 2 - 1)
                << name << " runs nothing on the press";
            // Released off the button: the command runs all the same.
            QTest::mouseRelease(button, mouseButton, {}, QPoint(-40, 60));
            settle();
            seen << button->shownPicture();
        }
        EXPECT_EQ(seen, pictures) << name;
        EXPECT_TRUE(done()) << name;
        window.showNormal();
    }
}

TEST_F(FmMainTest, HotSpotsActOnThePressAndTheSaveButtonOnAClick)
{
    load({"/m/0", "/m/1", "/m/2", "/m/3", "/m/4", "/m/5"});
    Playlist &list = transport().ListSong();
    list.setHighlighted(0, false);
    for (int row : {1, 2, 4})
        list.setHighlighted(row, true);
    QTest::mousePress(face().button(Image1), Qt::LeftButton);
    EXPECT_EQ(list.songs(), (QStringList{"/m/0", "/m/3", "/m/5"}));

    QTest::mousePress(face().button(ImgAdd), Qt::LeftButton);
    EXPECT_EQ(dialogs.asked, QStringList{"open"});
    QTest::mouseRelease(face().button(ImgAdd), Qt::LeftButton);
    EXPECT_EQ(dialogs.asked, QStringList{"open"}) << "the release does nothing";

    SkinButton *save = face().button(ImgPlaylist);
    QTest::mousePress(save, Qt::LeftButton);
    QTest::mouseRelease(save, Qt::LeftButton, {}, QPoint(-5, 5));
    EXPECT_EQ(dialogs.asked.size(), 1) << "a release off the button is no click";
    dialogs.saveTarget = dir.filePath(QStringLiteral("saved"));
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(readFile(dialogs.saveTarget), "/m/0\r\n/m/3\r\n/m/5\r\n") << "under the name given";

    dialogs.saveTarget = dir.filePath(QStringLiteral("saved/x.m3u"));
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1) << "\"saved\" is a file";
    EXPECT_TRUE(messages.shown[0].startsWith(writeFailureText(dialogs.saveTarget, "")));
}

TEST_F(FmMainTest, KnobsAreDraggedAndTrackClicksReachThePlayer)
{
    media.setDuration(QStringLiteral("/m/a.mp3"), 218);
    load();
    using Skin::VolumeTrack, Skin::BalanceTrack, Skin::PositionTrack;
    const struct
    {
        Skin::SliderTrack track;
        Skin::Picture pressed, normal; // the pictures shown
        int offset;                    // the pointer's place inside the knob during the drag
        int left;                      // the knob's left edge it leads to
        QString sent;                  // by the release
    } cases[] = {
        {VolumeTrack, SmallKnobPressed, SmallKnob, -60, VolumeTrack.left, "volume -3000"},
        {BalanceTrack, SmallKnobPressed, SmallKnob, BalanceTrack.grip + 300, BalanceTrack.right,
         "balance 5000"},
        {PositionTrack, PositionKnobPressed, PositionKnob, PositionTrack.grip + 50,
         PositionTrack.left + 50, "seek 50"}, // 218 s over 218 pixels
    };
    for (const auto &[track, pressed, normal, offset, left, sent] : cases) {
        SkinKnob *knob = face().knob(track.knob);
        const char *name = Skin::place(track.knob).name;
        QTest::mousePress(knob, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(knob->shownPicture(), pressed) << name;
        QMouseEvent move(QEvent::MouseMove, QPointF(offset, 3), knob->mapToGlobal(QPointF()),
                         Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(knob, &move);
        EXPECT_EQ(knob->x(), left) << name;
        QTest::mouseRelease(knob, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_EQ(knob->shownPicture(), normal) << name;
        EXPECT_EQ(media.log.last(), sent) << name;
    }
    EXPECT_TRUE(window.player().position().isTimerMainActive()) << "the release seeks";

    // The bands themselves are the player's; here a press of the left button reaches them and
    // brings the knob's grip under the pointer; the right button's does nothing.
    const QPoint onVolume(VolumeTrack.left + 2, VolumeTrack.top + 1);
    QTest::mouseClick(&face(), Qt::LeftButton, {}, onVolume);
    QTest::mouseClick(&face(), Qt::RightButton, {}, onVolume + QPoint(30, 0));
    EXPECT_EQ(face().knob(VolumeTrack.knob)->x(), onVolume.x() - VolumeTrack.grip);
}

TEST_F(FmMainTest, DrawsTheDoubleSizeArtworkOnAScreenOfRatioTwo)
{
    load();
    SkinButton *play = face().button(ImgPlaySong);
    QPixmap target(play->size() * 2);
    target.setDevicePixelRatio(2);
    target.fill(Qt::transparent);
    play->render(&target, {}, {}, QWidget::RenderFlags());
    const QImage expected = skinPicture(Play, 2).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(target.toImage().convertToFormat(QImage::Format_ARGB32), expected);
}

} // namespace
