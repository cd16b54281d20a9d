#pragma once

#include <functional>
#include <limits>
#include <optional>

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include "core/command.h"
#include "core/karaokesource.h"

class DesktopLyricStore;
class QAction;
class QFontMetricsF;
class QMenu;

// Where each character of `line` begins and the last one ends, in pixels from the line's start:
// line.size() + 1 values, or fewer when the line is wider than `room`: the edges end with the
// first one past it, as the characters after it cannot show (a crafted line of thousands of
// characters then costs no more than one that fits).
QList<double> characterEdges(const QFontMetricsF &metrics, const QString &line,
                             double room = std::numeric_limits<double>::infinity());
// The width in pixels of the sung part of a line with the character `edges` when `fill` of its
// characters are sung: the whole characters and the due fraction of the next one.
double sungWidth(const QList<double> &edges, double fill);

// The desktop lyric window (桌面歌词): frameless, always on top, with a see-through background
// and no task-bar button, it shows two lyric lines in a large outlined font. The lines
// alternate between the two rows as they advance: line k stands on row k % 2, the even ones
// at the left, the odd ones at the right. The current line fills from the left in the
// highlight colour as it is sung.
//
// Cost: while the current line fills, a frame timer (at most at the screen's refresh rate) repaints
// only the strip between the last fill and the new one; it runs only while the track moves
// and the line is not yet full, so a paused track or a finished line costs nothing.
//
// It shows the store's settings at all times (shown, locked, place, font, colours) and writes
// back the place it is dragged to. Locked, it lets every click through to what lies below.
class DesktopLyrics : public QWidget
{
    Q_OBJECT

public:
    // `run` carries out the commands of the window's menu.
    DesktopLyrics(DesktopLyricStore &store, KaraokeSource &source, std::function<void(Command)> run,
                  QWidget *parent = nullptr);
    ~DesktopLyrics() override;

    // A window manager keeps a full-screen window above every other, unless it is one of that
    // window's own: while `fullScreen` is shown full screen the lyrics belong to it (nullptr:
    // to nobody), so that they stay above it.
    void followFullScreen(QWidget *fullScreen);

    // The rectangle that line `index` (of `text`) fills: its row, and the left or right side.
    QRectF lineRect(int index, const QString &text) const;
    // What must be repainted when the current line's fill moves from `from` to `to`
    // characters: the strip of the line between the two, rounded out to whole pixels.
    QRect fillStrip(double from, double to) const;
    bool isFrameTimerActive() const { return m_frameTimer.isActive(); }
    int frameInterval() const { return m_frameTimer.interval(); }
    QMenu *contextMenu() const { return m_menu; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // Shows the store's settings.
    void applySettings();
    void setLocked(bool locked);
    // Sets the click-through again on the shown window (see showEvent).
    void retellLock();
    void takeLines();
    // Moves the fill to the source's and repaints what changed.
    void showFill();
    // Runs the frame timer exactly while the fill can move.
    void updateFrameTimer();
    // `text` outlined and filled with `fill`, in an image the size of its line rectangle.
    QImage lineImage(const QString &text, const QColor &fill) const;
    // Draws the lines shown into their images.
    void drawLines();
    // How many characters of the current line the window shows.
    qsizetype shownCharacters() const { return m_edges.size() - 1; }
    int rowHeight() const;

    DesktopLyricStore &m_store;
    KaraokeSource &m_source;
    std::function<void(Command)> m_run;
    QMenu *m_menu = nullptr;
    QAction *m_lockItem = nullptr;
    QTimer m_frameTimer;
    QFont m_font;
    KaraokeSource::KaraokeLines m_lines;
    // The places of the lines and the current one's character edges, measured once.
    QRectF m_currentRect;
    QRectF m_nextRect;
    QList<double> m_edges;
    QImage m_currentImage;
    QImage m_sungImage;
    QImage m_nextImage;
    double m_fill = 0;
    // Where the left button grabbed the window, from its top-left corner; none while not
    // dragged.
    std::optional<QPoint> m_grab;
    // Shown locked and not painted since: the click-through is told again after the paint.
    bool m_isLockToRetell = false;
};
