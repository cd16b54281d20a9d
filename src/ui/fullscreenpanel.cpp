#include "ui/fullscreenpanel.h"

#include <QLabel>

#include "core/displaylabels.h"
#include "core/session.h"
#include "looks/storedlooks.h"
#include "ui/transitionpainter.h"

FullScreenPanel::FullScreenPanel(Session &session, DisplayLabels &labels, QWidget *parent)
    : SkinPanel(parent), m_session(session)
{
    setObjectName(QStringLiteral("PicBg"));
    // Black around the pictures: the desktop's colour that the design names has no
    // counterpart on this desktop, and a palette's window colour would show a light grey.
    setColour(Qt::black);
    // Made first, so the strip lies above it.
    m_picture = new TransitionPainter(session, this);
    m_bottom = new SkinPanel(this);
    m_bottom->setObjectName(QStringLiteral("PicBottom"));
    // Keys go to the background, also after a click on the strip.
    m_bottom->setFocusPolicy(Qt::NoFocus);
    m_lyric = new QLabel(labels.text(DisplayLabels::Label::LTxtMax), m_bottom);
    m_lyric->setObjectName(QStringLiteral("LTxtMax"));
    m_lyric->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    applyLyricStyle();
    connect(&labels, &DisplayLabels::changed, m_lyric,
            [this](DisplayLabels::Label which, const QString &text) {
                if (which == DisplayLabels::Label::LTxtMax)
                    m_lyric->setText(text);
            });
    connect(&session, &Session::settingsChanged, this, &FullScreenPanel::applyLyricStyle);
    hide();
}

void FullScreenPanel::layOut(QSize screenPixels)
{
    setGeometry(QRect(QPoint(0, 0), screenPixels));
    m_picture->setGeometry(rect());
    m_bottom->setGeometry(0, screenPixels.height() - StripHeight, screenPixels.width(),
                          StripHeight);
    const QRect inner = m_bottom->contentsRect();
    m_lyric->setGeometry(inner.left(), inner.top() + LyricInset, inner.width(), StripHeight);
}

void FullScreenPanel::applyLyricStyle()
{
    const SettingsRecord &settings = m_session.settings();
    // A system colour of the strip is the window's, not the black background's.
    const QPalette system = parentWidget() ? parentWidget()->palette() : QPalette();
    m_bottom->setColour(colourFromValue(settings.picBottomColour, system));
    m_lyric->setFont(lyricFontOf(settings.lyricFont));
    setPaletteColour(*m_lyric, QPalette::WindowText,
                     colourFromValue(settings.lyricColour, m_lyric->palette()));
}
