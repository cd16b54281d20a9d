#pragma once

#include <array>
#include <cstddef>

#include <QRect>
#include <QSize>
#include <QStringView>

// The skin's geometry: where every control of the main window lies on the skin picture, and
// how the three knobs travel. Everything that places, paints, hit-tests or checks a control
// reads it from here: the player's slider arithmetic, the skin generator, the window and the
// tests. Units are skin pixels, origin at the picture's top-left corner, y growing downwards.

namespace Skin {

// The skin picture: the top panel in rows 0 to 116, the playlist panel below.
inline constexpr QSize PictureSize{275, 464};
// The window's inner width, and its height with and without the playlist panel.
inline constexpr int WindowWidth = 274;
inline constexpr int HeightWithList = 464;
inline constexpr int HeightWithoutList = 116;

// The controls laid over the skin picture, in the order the window stacks them (later ones
// on top). The title bar's controls stand where the window puts them at start-up.
enum class Control {
    ListSong,
    Image1,
    ImgAdd,
    ImgPlaylist,
    ImgLoop,
    ImgRandom,
    LDrag2,
    LDrag,
    ImgCloseList,
    ImgFullscr,
    ImgMin,
    ImgClose,
    ImgIcon,
    ImgOpenSong,
    ImgShowList,
    ImgNextSong,
    ImgStopSong,
    ImgPauseSong,
    ImgPlaySong,
    ImgPreSong,
    LInfo,
    LTime,
    LTxtMin,
    LTitle,
    ImgSliderB,
    ImgSliderV,
    ImgSliderP,
};

struct ControlPlace
{
    Control control;
    // The control's name, which is also its widget's object name.
    const char *name;
    QRect rect;
};

inline constexpr std::array<ControlPlace, 27> Controls{{
    {Control::ListSong, "ListSong", {8, 136, 259, 290}},
    {Control::Image1, "Image1", {40, 432, 25, 25}},
    {Control::ImgAdd, "ImgAdd", {16, 432, 17, 25}},
    {Control::ImgPlaylist, "ImgPlaylist", {231, 434, 22, 18}},
    {Control::ImgLoop, "ImgLoop", {210, 89, 28, 15}},
    {Control::ImgRandom, "ImgRandom", {164, 89, 47, 15}},
    {Control::LDrag2, "LDrag2", {8, 117, 249, 15}},
    {Control::LDrag, "LDrag", {16, 0, 225, 17}},
    {Control::ImgCloseList, "ImgCloseList", {264, 120, 9, 9}},
    {Control::ImgFullscr, "ImgFullscr", {220, 59, 21, 10}},
    {Control::ImgMin, "ImgMin", {250, 3, 9, 9}},
    {Control::ImgClose, "ImgClose", {264, 3, 9, 9}},
    {Control::ImgIcon, "ImgIcon", {2, -1, 16, 16}},
    {Control::ImgOpenSong, "ImgOpenSong", {136, 88, 22, 16}},
    {Control::ImgShowList, "ImgShowList", {243, 59, 22, 10}},
    {Control::ImgNextSong, "ImgNextSong", {107, 87, 23, 20}},
    {Control::ImgStopSong, "ImgStopSong", {83, 88, 23, 18}},
    {Control::ImgPauseSong, "ImgPauseSong", {61, 87, 23, 20}},
    {Control::ImgPlaySong, "ImgPlaySong", {38, 87, 23, 20}},
    {Control::ImgPreSong, "ImgPreSong", {15, 87, 23, 20}},
    {Control::LInfo, "LInfo", {104, 40, 158, 12}},
    {Control::LTime, "LTime", {16, 48, 40, 18}},
    {Control::LTxtMin, "LTxtMin", {16, 24, 246, 16}},
    {Control::LTitle, "LTitle", {99, 2, 60, 12}},
    {Control::ImgSliderB, "ImgSliderB", {190, 58, 14, 11}},
    {Control::ImgSliderV, "ImgSliderV", {158, 58, 14, 11}},
    {Control::ImgSliderP, "ImgSliderP", {232, 72, 29, 10}},
}};

// Each control's row stands at the index of its enumerator.
constexpr bool isInEnumOrder()
{
    for (std::size_t index = 0; index < Controls.size(); ++index) {
        if (Controls[index].control != Control(index))
            return false;
    }
    return true;
}
static_assert(isInEnumOrder());

constexpr const ControlPlace &place(Control control)
{
    return Controls[std::size_t(control)];
}

constexpr QRect rect(Control control)
{
    return place(control).rect;
}

// The pictures of the skin's image list `ImageList1`, which the buttons, toggles and knobs
// show. Each pair is (pressed, normal); a toggle has its off pair, then its on pair. The
// close pictures serve ImgClose and ImgCloseList, the small knob ImgSliderV and ImgSliderB.
enum class Picture {
    None = 0, // no picture: the control is an invisible hot spot
    ClosePressed = 1,
    Close,
    MinimisePressed,
    Minimise,
    WindowIcon, // ImgIcon's, and the window's icon
    SmallKnobPressed,
    SmallKnob,
    PositionKnobPressed,
    PositionKnob,
    PreviousPressed,
    Previous,
    PlayPressed,
    Play,
    PausePressed,
    Pause,
    NextPressed,
    Next,
    StopPressed,
    Stop,
    EjectPressed,
    Eject,
    ListOffPressed,
    ListOff,
    ListOnPressed,
    ListOn,
    FullScreenPressed,
    FullScreen,
    RandomOffPressed,
    RandomOff,
    RandomOnPressed,
    RandomOn,
    LoopOffPressed,
    LoopOff,
    LoopOnPressed,
    LoopOn,
};
// The pictures in the image list, which runs from 1 to PictureCount.
inline constexpr int PictureCount = int(Picture::LoopOn);

// How a knob travels along its track. Its left edge runs from `left` (the lowest value) to
// `right` (the highest); a press counts as a click on the track when it lies within
// left <= x <= right and top < y <= bottom; the pointer holds the knob `grip` pixels right of
// its left edge.
struct SliderTrack
{
    Control knob;
    int left;
    int right;
    int top;
    int bottom;
    int grip;

    constexpr int travel() const { return right - left; }
    constexpr bool bandContains(int x, int y) const
    {
        return x >= left && x <= right && y > top && y <= bottom;
    }
};

// The first row below `control`.
constexpr int below(Control control)
{
    return rect(control).top() + rect(control).height();
}

// PosSliderLeft 17 … PosSliderRight 235; the band reaches down to the knob's lower edge.
inline constexpr SliderTrack PositionTrack{.knob = Control::ImgSliderP,
                                           .left = 17,
                                           .right = 235,
                                           .top = rect(Control::ImgSliderP).top(),
                                           .bottom = below(Control::ImgSliderP),
                                           .grip = 14};
// VolSliderLeft 108 (quietest) … VolSliderRight 158 (loudest).
inline constexpr SliderTrack VolumeTrack{.knob = Control::ImgSliderV,
                                         .left = 108,
                                         .right = 158,
                                         .top = 58,
                                         .bottom = below(Control::ImgSliderV),
                                         .grip = 5};
// BalSliderLeft 178 (full left) … BalSliderRight 200 (full right).
inline constexpr SliderTrack BalanceTrack{.knob = Control::ImgSliderB,
                                          .left = 178,
                                          .right = 200,
                                          .top = 58,
                                          .bottom = below(Control::ImgSliderB),
                                          .grip = 5};

} // namespace Skin
