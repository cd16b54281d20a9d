#include "ui/playlistbox.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/command.h"
#include "core/playlist.h"
#include "ui/droppedfiles.h"
#include "ui/keymap.h"

PlaylistBox::PlaylistBox(QWidget *parent) : QListView(parent)
{
    QPalette colours = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        colours.setColor(group, QPalette::Base, Qt::black);
        colours.setColor(group, QPalette::Text, Qt::white);
    }
    setPalette(colours);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    m_clock.start();
}

void PlaylistBox::keyboardSearch(const QString &search)
{
    const auto *list = qobject_cast<const Playlist *>(model());
    if (!list)
        return;
    const int row = m_typeAhead.find(*list, search, m_clock.elapsed(), currentIndex().row());
    if (row >= 0)
        setCurrentIndex(list->index(row));
}

// The key is not consumed: the list still moves its current row with the arrows. A letter that
// goes on with a search is only a letter (P and M play and mute only as the first one).
void PlaylistBox::keyPressEvent(QKeyEvent *event)
{
    const int code = virtualKeyCode(*event);
    const QString text = event->text();
    const bool searching =
        text.size() == 1 && m_typeAhead.continuesSearch(text[0], m_clock.elapsed());
    if (!searching)
        emit keyPressed(code, modifierBits(event->modifiers()));
    if (code == int(VirtualKey::Delete))
        emit deletePressed();
    QListView::keyPressEvent(event);
}

void PlaylistBox::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        emit menuRequested(event->globalPosition().toPoint());
}

void PlaylistBox::dragEnterEvent(QDragEnterEvent *event)
{
    if (carriesFiles(event->mimeData()))
        event->acceptProposedAction();
}

void PlaylistBox::dragMoveEvent(QDragMoveEvent *event)
{
    event->acceptProposedAction();
}

void PlaylistBox::dropEvent(QDropEvent *event)
{
    const QStringList paths = acceptDroppedFiles(*event);
    if (!paths.isEmpty())
        emit filesDropped(paths);
}
