#pragma once

#include <QElapsedTimer>
#include <QListView>

#include "core/typeahead.h"

// The playlist box `ListSong`: white paths on black, any number of rows highlighted. Besides
// what a list view does, it reports the keys pressed in it (before it moves its own current
// row with them), the Delete key, files dropped on it and a right-button release, which asks
// for the playlist menu. Letters typed in it make current the next song whose name holds them
// (see TypeAhead).
class PlaylistBox : public QListView
{
    Q_OBJECT

public:
    explicit PlaylistBox(QWidget *parent = nullptr);

    void keyboardSearch(const QString &search) override;

signals:
    // The key's virtual-key code and modifier bits.
    void keyPressed(int keyCode, int modifiers);
    void deletePressed();
    void filesDropped(const QStringList &paths);
    void menuRequested(QPoint globalPosition);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    TypeAhead m_typeAhead;
    QElapsedTimer m_clock;
};
