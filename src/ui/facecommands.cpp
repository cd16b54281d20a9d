#include "ui/facecommands.h"

#include "core/player.h"
#include "core/playlistadditions.h"
#include "ui/dragstrip.h"
#include "ui/fmmain.h"
#include "ui/fullscreenpanel.h"
#include "ui/normalpanel.h"
#include "ui/playlistbox.h"
#include "ui/skinbutton.h"
#include "ui/skinknob.h"
#include "ui/windowmover.h"

namespace {

using Skin::Control;

void connectButtons(FmMain &window, NormalPanel &face, Player &player)
{
    Player *p = &player;
    const std::pair<Control, Command> commands[] = {
        {Control::ImgClose, Command::Quit},
        {Control::ImgMin, Command::Minimize},
        {Control::ImgPreSong, Command::PreviousSong},
        {Control::ImgPlaySong, Command::PlaySong},
        {Control::ImgPauseSong, Command::PauseSong},
        {Control::ImgNextSong, Command::NextSong},
        {Control::ImgStopSong, Command::StopSong},
        {Control::ImgOpenSong, Command::AddSongs},
        {Control::ImgAdd, Command::AddSongs},
        {Control::Image1, Command::DeleteSelected},
        {Control::ImgPlaylist, Command::SaveList},
        {Control::ImgFullscr, Command::FullScreen},
        {Control::ImgCloseList, Command::CloseListPanel},
        {Control::ImgShowList, Command::ToggleListPanel},
        {Control::ImgLoop, Command::ToggleLoop},
        {Control::ImgRandom, Command::ToggleRandom},
    };
    for (const auto &[control, command] : commands)
        QObject::connect(face.button(control), &SkinButton::triggered, &window,
                         [p, command = command] { p->run(command); });
    // The icon opens the main menu where it was clicked.
    QObject::connect(face.button(Control::ImgIcon), &SkinButton::triggered, &window,
                     [w = &window](QPoint at) { w->showMainMenu(at, false); });

    PlaybackPosition &position = player.position();
    SoundControls &sound = player.sound();
    SkinKnob *positionKnob = face.knob(Control::ImgSliderP);
    QObject::connect(positionKnob, &SkinKnob::dragged, &position,
                     &PlaybackPosition::positionKnobDragged);
    QObject::connect(positionKnob, &SkinKnob::released, &position,
                     &PlaybackPosition::positionKnobReleased);
    QObject::connect(face.knob(Control::ImgSliderV), &SkinKnob::dragged, &sound,
                     &SoundControls::volumeKnobDragged);
    SkinKnob *balanceKnob = face.knob(Control::ImgSliderB);
    QObject::connect(balanceKnob, &SkinKnob::dragged, &sound, &SoundControls::balanceKnobDragged);
    QObject::connect(balanceKnob, &SkinKnob::released, &sound, &SoundControls::balanceKnobReleased);
}

void connectPanels(FmMain &window, NormalPanel &face, FullScreenPanel &fullScreen, Player &player)
{
    FmMain *w = &window;
    Player *p = &player;
    const auto handleKey = [p](int code, int modifiers) { p->HandleKey(code, modifiers); };
    const auto rightButtonMenu = [w](QPoint at) { w->showMainMenu(at, true); };
    QObject::connect(&face, &SkinPanel::leftButtonPressed, w,
                     [p](QPoint at) { p->clickPanel(at.x(), at.y()); });
    QObject::connect(&face, &SkinPanel::keyPressed, w, handleKey);
    QObject::connect(&face, &SkinPanel::menuRequested, w, rightButtonMenu);
    QObject::connect(&face, &SkinPanel::filesDropped, w, [p](const QStringList &paths) {
        addDroppedOnSkin(p->transport().ListSong(), paths);
    });
    QObject::connect(&fullScreen, &SkinPanel::keyPressed, w, handleKey);
    QObject::connect(&fullScreen, &SkinPanel::menuRequested, w, rightButtonMenu);
    QObject::connect(fullScreen.PicBottom(), &SkinPanel::menuRequested, w, rightButtonMenu);

    PlaylistBox *list = face.ListSong();
    QObject::connect(list, &PlaylistBox::keyPressed, w, handleKey);
    QObject::connect(list, &PlaylistBox::deletePressed, w,
                     [p] { p->run(Command::DeleteSelected); });
    QObject::connect(list, &PlaylistBox::menuRequested, w, &FmMain::showListMenu);
    QObject::connect(list, &PlaylistBox::doubleClicked, w, [p] { p->run(Command::PlaySong); });
    QObject::connect(list, &PlaylistBox::filesDropped, w, [p](const QStringList &paths) {
        addDroppedOnList(p->transport().ListSong(), paths);
    });

    for (const Control control : {Control::LDrag, Control::LDrag2}) {
        DragStrip *strip = face.dragStrip(control);
        window.mover().attach(*strip);
        QObject::connect(strip, &DragStrip::menuRequested, w, rightButtonMenu);
    }
}

} // namespace

void connectFaceCommands(FmMain &window)
{
    connectButtons(window, window.PicNormal(), window.player());
    connectPanels(window, window.PicNormal(), window.PicBg(), window.player());
}
