#include <functional>

#include <QLabel>
#include <QPainter>
#include <QSignalSpy>

#include "fmmainfixture.h"
#include "skin/skinimages.h"
#include "ui/fullscreenpanel.h"
#include "ui/skinbutton.h"
#include "ui/skinknob.h"
#include "ui/playlistbox.h"
#include "ui/skintoggle.h"

namespace {

using Skin::Control;

TEST_F(FmMainTest, ButtonsShowTheirPicturesAndRunTheirCommandsOnRelease)
{
    load();
    dialogs.chosenFiles = {"/m/new.mp3"};
    const struct
    {
        Control control;
        Qt::MouseButton mouseButton;
        int pressed, normal; // the pictures shown
        std::function<bool()> done;
    } cases[] = {
        {Control::ImgPlaySong, Qt::LeftButton, 12, 13, [&] { return transport().PlayingFlag(); }},
        {Control::ImgPauseSong, Qt::LeftButton, 14, 15, [&] { return transport().PausedFlag(); }},
        {Control::ImgNextSong, Qt::LeftButton, 16, 17,
         [&] { return transport().ListSong().CurrentEntry() == 1; }},
        {Control::ImgPreSong, Qt::LeftButton, 10, 11,
         [&] { return transport().ListSong().CurrentEntry() == 0; }},
        {Control::ImgStopSong, Qt::RightButton, 18, 19,
         [&] { return media.log.last() == "seek 0"; }},
        {Control::ImgOpenSong, Qt::LeftButton, 20, 21,
         [&] { return transport().ListSong().songs().last() == "/m/new.mp3"; }},
        {Control::ImgFullscr, Qt::LeftButton, 26, 27, [&] { return window.isFullScreenShown(); }},
        {Control::ImgMin, Qt::MiddleButton, 3, 4, [&] { return window.isMinimized(); }},
        {Control::ImgCloseList, Qt::LeftButton, 1, 2,
         [&] { return window.height() == 116 && window.showList() == 0; }},
        {Control::ImgClose, Qt::LeftButton, 1, 2, [&] { return !window.isVisible(); }},
    };
    for (const auto &[control, mouseButton, pressed, normal, done] : cases) {
        SkinButton *button = face().button(control);
        const char *name = Skin::place(control).name;
        const QSignalSpy triggered(button, &SkinButton::triggered);
        EXPECT_EQ(button->shownPicture(), normal) << name;
        QTest::mousePress(button, mouseButton, {}, QPoint(3, 3));
        EXPECT_EQ(button->shownPicture(), pressed) << name;
        EXPECT_EQ(triggered.count(), 0) << name << " runs nothing on the press";
        // Released off the button: the command runs all the same.
        QTest::mouseRelease(button, mouseButton, {}, QPoint(-40, 60));
        settle();
        EXPECT_EQ(button->shownPicture(), normal) << name;
        EXPECT_TRUE(done()) << name;
        window.OrgScr();
        window.showNormal();
    }
}

TEST_F(FmMainTest, TogglesShowTheirStateAndFlipItOnRelease)
{
    SettingsRecord settings;
    settings.shared.ShowList = 2;
    load({}, settings);
    // Two clicks each: the picture before, on each press and after each release, and the
    // state after them.
    const QList<std::tuple<Control, QList<int>, std::function<bool()>, bool>> cases{
        {Control::ImgLoop, {35, 34, 33, 32, 35}, [&] { return transport().LoopMode(); }, true},
        {Control::ImgRandom, {29, 28, 31, 30, 29}, [&] { return transport().RandomMode(); }, false},
        {Control::ImgShowList, {25, 24, 23, 22, 25}, [&] { return window.showList() == 1; }, true},
    };
    EXPECT_EQ(window.height(), 116) << "ShowList 2 leaves the list hidden";
    for (const auto &[control, pictures, isOn, finallyOn] : cases) {
        SkinToggle *toggle = face().toggle(control);
        const char *name = Skin::place(control).name;
        QList<int> seen{toggle->shownPicture()};
        for (int click = 0; click < 2; ++click) {
            QTest::mousePress(toggle, Qt::LeftButton);
            seen << toggle->shownPicture();
            QTest::mouseRelease(toggle, Qt::LeftButton);
            seen << toggle->shownPicture();
            EXPECT_EQ(toggle->isChecked(), toggle->isOn()) << name;
        }
        EXPECT_EQ(seen, pictures) << name;
        EXPECT_EQ(isOn(), finallyOn) << name;
    }
    EXPECT_EQ(window.height(), 464);
    EXPECT_TRUE(face().ListSong()->isVisible());

    // A press without a release keeps the state and the pressed picture.
    QTest::mousePress(face().toggle(Control::ImgLoop), Qt::LeftButton);
    EXPECT_TRUE(transport().LoopMode());
    EXPECT_EQ(face().toggle(Control::ImgLoop)->shownPicture(), 34);
}

TEST_F(FmMainTest, HotSpotsActOnThePressAndTheSaveButtonOnAClick)
{
    load({"/m/0", "/m/1", "/m/2", "/m/3", "/m/4", "/m/5"});
    Playlist &list = transport().ListSong();
    list.setHighlighted(0, false);
    for (int row : {1, 2, 4})
        list.setHighlighted(row, true);
    QTest::mousePress(face().button(Control::Image1), Qt::LeftButton);
    EXPECT_EQ(list.songs(), (QStringList{"/m/0", "/m/3", "/m/5"}));

    QTest::mousePress(face().button(Control::ImgAdd), Qt::LeftButton);
    EXPECT_EQ(dialogs.asked, QStringList{"open"});
    QTest::mouseRelease(face().button(Control::ImgAdd), Qt::LeftButton);
    EXPECT_EQ(dialogs.asked, QStringList{"open"}) << "the release does nothing";

    SkinButton *save = face().button(Control::ImgPlaylist);
    QTest::mousePress(save, Qt::LeftButton);
    QTest::mouseRelease(save, Qt::LeftButton, {}, QPoint(-5, 5));
    EXPECT_EQ(dialogs.asked.size(), 1) << "a release off the button is no click";
    dialogs.saveTarget = dir.filePath(QStringLiteral("saved"));
    QTest::mouseClick(save, Qt::LeftButton);
    EXPECT_EQ(readFile(dialogs.saveTarget), "/m/0\r\n/m/3\r\n/m/5\r\n") << "under the name given";
    EXPECT_EQ(save->shownPicture(), SkinButton::SaveListPicture);

    dialogs.saveTarget = dir.filePath(QStringLiteral("saved/x.m3u"));
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1) << "\"saved\" is a file";
    EXPECT_TRUE(messages.shown[0].startsWith(writeFailureText(dialogs.saveTarget, "")));
}

TEST_F(FmMainTest, KnobsStandWhereThePlayerSaysAndAreDragged)
{
    media.setDuration(QStringLiteral("/m/a.mp3"), 218);
    load();
    const struct
    {
        Control control;
        int pressed, normal; // the pictures shown
        int offset;          // the pointer's place inside the knob during the drag
        int left;            // the knob's left edge it leads to
        QString sent;        // by the release
    } cases[] = {
        {Control::ImgSliderV, 6, 7, -60, 108, "volume -3000"},
        {Control::ImgSliderB, 6, 7, 5 + 300, 200, "balance 5000"},
        {Control::ImgSliderP, 8, 9, 14 + 50, 67, "seek 50"},
    };
    for (const auto &[control, pressed, normal, offset, left, sent] : cases) {
        SkinKnob *knob = face().knob(control);
        const char *name = Skin::place(control).name;
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
    EXPECT_EQ(window.player().sound().balancePreset(), SoundControls::BalancePreset::None);
    EXPECT_TRUE(window.player().position().isTimerMainActive()) << "the release seeks";
}

// The bands themselves are the player's; here a press of the left button reaches them.
TEST_F(FmMainTest, TrackClicksOnTheSkinTestTheThreeBands)
{
    load();
    const QList<std::tuple<QPoint, Qt::MouseButton, Control, int>> cases{
        {{110, 59}, Qt::LeftButton, Control::ImgSliderV, 105},
        {{140, 59}, Qt::RightButton, Control::ImgSliderV, 105}, // right button: nothing
        {{178, 69}, Qt::LeftButton, Control::ImgSliderB, 173},
    };
    for (const auto &[at, button, knob, left] : cases) {
        QTest::mousePress(&face(), button, {}, at);
        QTest::mouseRelease(&face(), button, {}, at);
        EXPECT_EQ(face().knob(knob)->x(), left) << at.x() << "," << at.y();
    }
    EXPECT_EQ(media.balance(), -5000);
}

TEST_F(FmMainTest, DrawsTheDoubleSizeArtworkOnAScreenOfRatioTwo)
{
    load();
    SkinButton *play = face().button(Control::ImgPlaySong);
    QPixmap target(play->size() * 2);
    target.setDevicePixelRatio(2);
    target.fill(Qt::transparent);
    play->render(&target, {}, {}, QWidget::RenderFlags());
    const QImage expected = skinPicture(13, 2).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(expected.size(), target.size());
    const QImage drawn = target.toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(window.size(), QSize(274, 464)) << "the window keeps its logical size";
}

} // namespace
