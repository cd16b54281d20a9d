#include "ui/normalpanel.h"

#include <QEvent>
#include <QLabel>

#include "core/player.h"
#include "core/session.h"
#include "looks/storedlooks.h"
#include "lyrics/lyricdisplay.h"
#include "ui/dragstrip.h"
#include "ui/elidedlabel.h"
#include "ui/playlistbox.h"
#include "ui/skinbutton.h"
#include "ui/skinknob.h"
#include "ui/skintoggle.h"

namespace {

using Skin::Control;
using Skin::Picture;
using Action = SkinButton::Action;

// The buttons: what the release does, the pictures (pressed, normal) at design, and the
// name assistive technologies read. The title bar's icon gets its picture from LayOutSkin.
struct ButtonRow
{
    Control control;
    Action action;
    Picture pressed;
    Picture normal;
    const char16_t *name;
};

constexpr ButtonRow Buttons[] = {
    {Control::ImgClose, Action::PictureThenCommand, Picture::ClosePressed, Picture::Close, u"关闭"},
    {Control::ImgMin, Action::CommandThenPicture, Picture::MinimisePressed, Picture::Minimise,
     u"最小化"},
    {Control::ImgPreSong, Action::CommandThenPicture, Picture::PreviousPressed, Picture::Previous,
     u"上一首"},
    {Control::ImgPlaySong, Action::CommandThenPicture, Picture::PlayPressed, Picture::Play,
     u"播放"},
    {Control::ImgPauseSong, Action::CommandThenPicture, Picture::PausePressed, Picture::Pause,
     u"暂停"},
    {Control::ImgNextSong, Action::PictureThenCommand, Picture::NextPressed, Picture::Next,
     u"下一首"},
    {Control::ImgStopSong, Action::CommandThenPicture, Picture::StopPressed, Picture::Stop,
     u"停止"},
    {Control::ImgOpenSong, Action::CommandThenPicture, Picture::EjectPressed, Picture::Eject,
     u"打开文件"},
    {Control::ImgFullscr, Action::CommandThenPicture, Picture::FullScreenPressed,
     Picture::FullScreen, u"全屏"},
    {Control::ImgCloseList, Action::PictureThenCommand, Picture::ClosePressed, Picture::Close,
     u"关闭播放列表"},
    {Control::ImgIcon, Action::CommandOnPress, Picture::None, Picture::None, u"菜单"},
    {Control::Image1, Action::CommandOnPress, Picture::None, Picture::None, u"删除所选歌曲"},
    {Control::ImgAdd, Action::CommandOnPress, Picture::None, Picture::None, u"添加歌曲"},
    {Control::ImgPlaylist, Action::Click, SkinButton::SaveListPicture, SkinButton::SaveListPicture,
     u"保存播放列表"},
};

// The toggles: pictures off pressed, off normal, on pressed, on normal.
struct ToggleRow
{
    Control control;
    Picture pictures[4];
    const char16_t *name;
};

constexpr ToggleRow Toggles[] = {
    {Control::ImgShowList,
     {Picture::ListOffPressed, Picture::ListOff, Picture::ListOnPressed, Picture::ListOn},
     u"播放列表"},
    {Control::ImgRandom,
     {Picture::RandomOffPressed, Picture::RandomOff, Picture::RandomOnPressed, Picture::RandomOn},
     u"随机"},
    {Control::ImgLoop,
     {Picture::LoopOffPressed, Picture::LoopOff, Picture::LoopOnPressed, Picture::LoopOn},
     u"循环"},
};

QFont labelFont(const QString &family, double points)
{
    QFont font(family);
    font.setPointSizeF(points);
    return font;
}

// The form's font, which the labels without a font of their own take.
const QString FormFontFamily = QStringLiteral("宋体");
constexpr double FormFontPoints = 9;

} // namespace

NormalPanel::NormalPanel(Player &player, Session &session, QWidget *parent)
    : SkinPanel(parent), m_player(player), m_session(session)
{
    setObjectName(QStringLiteral("PicNormal"));
    setAcceptDrops(true);
    showSkinPicture();
    resize(Skin::PictureSize);
    for (const Skin::ControlPlace &place : Skin::Controls) {
        QWidget *control = createControl(place);
        control->setObjectName(QLatin1String(place.name));
        control->setGeometry(place.rect);
        m_controls[std::size_t(place.control)] = control;
    }
    connect(&player.labels(), &DisplayLabels::changed, this, &NormalPanel::showLabel);
    connect(&player.transport(), &Transport::modesChanged, this, &NormalPanel::showModes);
    connect(&session, &Session::settingsChanged, this, &NormalPanel::showModes);
    showModes();
}

QWidget *NormalPanel::createControl(const Skin::ControlPlace &place)
{
    switch (place.control) {
    case Control::ListSong:
        m_list = new PlaylistBox(this);
        m_list->setAccessibleName(QStringLiteral("歌曲列表"));
        m_list->setModel(&m_player.transport().ListSong());
        m_list->setSelectionModel(m_player.transport().ListSong().selectionModel());
        return m_list;
    case Control::LDrag:
    case Control::LDrag2:
        return new DragStrip(this);
    case Control::LInfo:
    case Control::LTime:
    case Control::LTxtMin:
    case Control::LTitle:
        return createLabel(place.control);
    case Control::ImgSliderP:
        return createKnob(m_player.position().knob(), Picture::PositionKnobPressed,
                          Picture::PositionKnob, QStringLiteral("播放位置"));
    case Control::ImgSliderV:
        return createKnob(m_player.sound().volumeKnob(), Picture::SmallKnobPressed,
                          Picture::SmallKnob, QStringLiteral("音量"));
    case Control::ImgSliderB:
        return createKnob(m_player.sound().balanceKnob(), Picture::SmallKnobPressed,
                          Picture::SmallKnob, QStringLiteral("声道平衡"));
    default:
        return createButton(place.control);
    }
}

QWidget *NormalPanel::createButton(Control control)
{
    for (const ToggleRow &row : Toggles) {
        if (row.control == control) {
            auto *toggle = new SkinToggle(row.pictures[0], row.pictures[1], row.pictures[2],
                                          row.pictures[3], this);
            toggle->setAccessibleName(QString::fromUtf16(row.name));
            return toggle;
        }
    }
    for (const ButtonRow &row : Buttons) {
        if (row.control == control) {
            auto *button = new SkinButton(row.action, this);
            button->setPictures(row.pressed, row.normal);
            button->setAccessibleName(QString::fromUtf16(row.name));
            return button;
        }
    }
    Q_UNREACHABLE();
}

QWidget *NormalPanel::createKnob(Knob &knob, Picture pressed, Picture normal, const QString &name)
{
    auto *control = new SkinKnob(knob, pressed, normal, this);
    control->setAccessibleName(name);
    return control;
}

QLabel *NormalPanel::createLabel(Control control)
{
    const DisplayLabels &texts = m_player.labels();
    QLabel *label = nullptr;
    QColor colour;
    switch (control) {
    case Control::LInfo:
        label = new ElidedLabel(texts.text(DisplayLabels::Label::LInfo), this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        colour = QColor(0, 128, 0);
        break;
    case Control::LTime:
        label = new QLabel(texts.text(DisplayLabels::Label::LTime), this);
        label->setFont(labelFont(QStringLiteral("Arial"), 12));
        colour = QColor(0, 255, 0);
        break;
    case Control::LTxtMin:
        label = new QLabel(texts.text(DisplayLabels::Label::LTxtMin), this);
        colour = QColor(0, 255, 0);
        // A click on it moves its text: left, centred, right, left again.
        label->installEventFilter(this);
        break;
    default:
        label = new QLabel(QStringLiteral("岚铃播放器"), this);
        colour = QColor(255, 255, 0);
        break;
    }
    if (control != Control::LTime)
        label->setFont(labelFont(FormFontFamily, FormFontPoints));
    // Clicks go through the labels to the strip or the skin below, except on the lyric.
    label->setAttribute(Qt::WA_TransparentForMouseEvents, control != Control::LTxtMin);
    setPaletteColour(*label, QPalette::WindowText, colour);
    return label;
}

void NormalPanel::showLabel(DisplayLabels::Label which, const QString &text)
{
    switch (which) {
    case DisplayLabels::Label::LTime:
        label(Control::LTime)->setText(text);
        // The time label sizes itself to its text ("100:00" is wider than "00:00").
        label(Control::LTime)->adjustSize();
        break;
    case DisplayLabels::Label::LInfo:
        label(Control::LInfo)->setText(text);
        break;
    case DisplayLabels::Label::LTxtMin:
        label(Control::LTxtMin)->setText(text);
        break;
    case DisplayLabels::Label::LTxtMax:
        break;
    }
}

void NormalPanel::showModes()
{
    const Transport &transport = m_player.transport();
    toggle(Control::ImgLoop)->setOn(transport.LoopMode());
    toggle(Control::ImgRandom)->setOn(transport.RandomMode());
    // Any value but 0 shows the list button lit, while only 1 shows the list.
    toggle(Control::ImgShowList)->setOn(m_session.settings().shared.ShowList != 0);
}

bool NormalPanel::eventFilter(QObject *watched, QEvent *event)
{
    QLabel *lyric = label(Control::LTxtMin);
    if (watched == lyric && event->type() == QEvent::MouseButtonRelease)
        lyric->setAlignment(nextLyricAlignment(lyric->alignment()));
    return SkinPanel::eventFilter(watched, event);
}

SkinButton *NormalPanel::button(Control control) const
{
    return qobject_cast<SkinButton *>(m_controls[std::size_t(control)]);
}

SkinToggle *NormalPanel::toggle(Control control) const
{
    return qobject_cast<SkinToggle *>(m_controls[std::size_t(control)]);
}

SkinKnob *NormalPanel::knob(Control control) const
{
    return qobject_cast<SkinKnob *>(m_controls[std::size_t(control)]);
}

QLabel *NormalPanel::label(Control control) const
{
    return qobject_cast<QLabel *>(m_controls[std::size_t(control)]);
}

DragStrip *NormalPanel::dragStrip(Control control) const
{
    return qobject_cast<DragStrip *>(m_controls[std::size_t(control)]);
}
