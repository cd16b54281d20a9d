#pragma once

#include <QListView>

// The playlist box `ListSong`: white paths on black, any number of rows highlighted. Besides
// what a list view does, it reports the keys pressed in it (before it moves its own current
// row with them), the Delete key, files dropped on it and a right-button release, which asks
// for the playlist menu.
class PlaylistBox : public QListView
{
    Q_OBJECT

public:
    explicit PlaylistBox(QWidget *parent = nullptr);

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
};
