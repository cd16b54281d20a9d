#include "ui/facecommands.h"

#include <functional>

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
    Transport &transport = player.transport();
    const auto toTransport = [&transport](void (Transport::*command)()) {
        return [&transport, command](QPoint) { (transport.*command)(); };
    };
    FmMain *w = &window;
    const std::pair<Control, std::function<void(QPoint)>> commands[] = {
        {Control::ImgClose, [w](QPoint) { w->UnloadMe(); }},
        {Control::ImgMin, [w](QPoint) { w->showMinimized(); }},
        {Control::ImgPreSong, toTransport(&Transport::PreviousSong)},
        {Control::ImgPlaySong, toTransport(&Transport::PlaySong)},
        {Control::ImgPauseSong, toTransport(&Transport::PauseSong)},
        {Control::ImgNextSong, toTransport(&Transport::NextSong)},
        {Control::ImgStopSong, toTransport(&Transport::StopSong)},
        {Control::ImgOpenSong, [w](QPoint) { w->AddSongFiles(); }},
        {Control::ImgAdd, [w](QPoint) { w->AddSongFiles(); }},
        {Control::Image1, toTransport(&Transport::DelSelectedSong)},
        {Control::ImgPlaylist, [w](QPoint) { w->saveList(); }},
        {Control::ImgFullscr, [w](QPoint) { w->FullScr(); }},
        {Control::ImgIcon, [w](QPoint at) { w->showMainMenu(at, false); }},
        {Control::ImgCloseList, [w](QPoint) { w->setShowList(0); }},
        {Control::ImgShowList, [w](QPoint) { w->setShowList(w->showList() != 0 ? 0 : 1); }},
        {Control::ImgLoop, [&transport](QPoint) { transport.setLoopMode(!transport.LoopMode()); }},
        {Control::ImgRandom,
         [&transport](QPoint) { transport.setRandomMode(!transport.RandomMode()); }},
    };
    for (const auto &[control, command] : commands)
        QObject::connect(face.button(control), &SkinButton::triggered, w, command);

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
    Transport &transport = player.transport();
    QObject::connect(list, &PlaylistBox::keyPressed, w, handleKey);
    QObject::connect(list, &PlaylistBox::deletePressed, &transport, &Transport::DelSelectedSong);
    QObject::connect(list, &PlaylistBox::menuRequested, w, &FmMain::showListMenu);
    QObject::connect(list, &PlaylistBox::doubleClicked, &transport, &Transport::PlaySong);
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
