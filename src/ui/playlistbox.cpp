#include "ui/playlistbox.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "core/command.h"
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
}

// The key is not consumed: the list still moves its current row with the arrows.
void PlaylistBox::keyPressEvent(QKeyEvent *event)
{
    const int code = virtualKeyCode(*event);
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
