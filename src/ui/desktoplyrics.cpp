#include "ui/desktoplyrics.h"

#include <cmath>
#include <utility>

#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWindow>

#include "core/desktoplyricstore.h"
#include "ui/windowmover.h"

namespace {

// Around the lines, in pixels.
constexpr int Padding = 8;
// The outline's pen width in pixels.
constexpr double OutlineWidth = 3;
// The fill moves a few pixels a frame at most: every second frame of the screen looks as smooth
// at half the cost.
constexpr double FramesPerStep = 2;
// The frame rate where the screen does not tell its own.
constexpr double FallbackRefreshRate = 60;

// The row a line stands on: even lines on the first, odd ones on the second.
int rowOf(int index)
{
    return index & 1;
}

} // namespace

QList<double> characterEdges(const QFontMetricsF &metrics, const QString &line, double room)
{
    QList<double> edges;
    for (qsizetype count = 0; count <= line.size(); ++count) {
        edges.append(metrics.horizontalAdvance(line.left(count)));
        if (edges.last() > room)
            break;
    }
    return edges;
}

double sungWidth(const QList<double> &edges, double fill)
{
    if (edges.size() < 2)
        return 0;
    const double limited = std::clamp(fill, 0.0, double(edges.size() - 1));
    const auto whole = qsizetype(limited);
    if (whole + 1 >= edges.size())
        return edges.last();
    return edges[whole] + (limited - double(whole)) * (edges[whole + 1] - edges[whole]);
}

DesktopLyrics::DesktopLyrics(DesktopLyricStore &store, KaraokeSource &source,
                             std::function<void(Command)> run, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_store(store), m_source(source), m_run(std::move(run)), m_menu(new QMenu(this))
{
    setWindowTitle(QStringLiteral("桌面歌词"));
    setAccessibleName(QStringLiteral("桌面歌词"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_lockItem = m_menu->addAction(QStringLiteral("锁定桌面歌词"),
                                   [this] { m_run(Command::LockDesktopLyrics); });
    m_lockItem->setObjectName(QStringLiteral("lockDesktopLyrics"));
    m_lockItem->setCheckable(true);
    m_menu
        ->addAction(QStringLiteral("关闭桌面歌词"), [this] { m_run(Command::ToggleDesktopLyrics); })
        ->setObjectName(QStringLiteral("closeDesktopLyrics"));
    connect(&m_frameTimer, &QTimer::timeout, this, &DesktopLyrics::showFill);
    connect(&m_store, &DesktopLyricStore::changed, this, &DesktopLyrics::applySettings);
    connect(&m_source, &KaraokeSource::karaokeLinesChanged, this, &DesktopLyrics::takeLines);
    connect(&m_source, &KaraokeSource::runningChanged, this, [this] {
        showFill();
        updateFrameTimer();
    });
    applySettings();
}

DesktopLyrics::~DesktopLyrics() = default;

int DesktopLyrics::rowHeight() const
{
    return int(std::ceil(QFontMetricsF(m_font).height() + 2 * OutlineWidth));
}

QRectF DesktopLyrics::lineRect(int index, const QString &text) const
{
    const double textWidth = QFontMetricsF(m_font).horizontalAdvance(text) + 2 * OutlineWidth;
    const double left = rowOf(index) == 0 ? Padding : width() - Padding - textWidth;
    return {left, double(Padding + rowOf(index) * rowHeight()), textWidth, double(rowHeight())};
}

QRect DesktopLyrics::fillStrip(double from, double to) const
{
    const QRectF &line = m_currentRect;
    const double start = line.left() + OutlineWidth;
    const double x1 = start + sungWidth(m_edges, from);
    const double x2 = start + sungWidth(m_edges, to);
    const QRectF strip(QPointF(std::min(x1, x2), line.top()),
                       QPointF(std::max(x1, x2), line.bottom()));
    // Anti-aliasing reaches into the pixel on either side.
    return strip.toAlignedRect().adjusted(-1, 0, 1, 0);
}

QImage DesktopLyrics::lineImage(const QString &text, const QColor &fill) const
{
    const QRectF line = lineRect(0, text);
    const qreal ratio = devicePixelRatioF();
    QImage image((line.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainterPath path;
    path.addText(QPointF(OutlineWidth, OutlineWidth + QFontMetricsF(m_font).ascent()), m_font,
                 text);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.strokePath(path, QPen(QColor(m_store.settings().outline), OutlineWidth, Qt::SolidLine,
                                  Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, fill);
    return image;
}

void DesktopLyrics::applySettings()
{
    const DesktopLyricSettings &settings = m_store.settings();
    QFont font(settings.fontFamily);
    font.setPointSizeF(settings.pointSize);
    font.setBold(settings.bold);
    m_font = font;
    const int height = 2 * rowHeight() + 2 * Padding;
    QRect place = settings.place;
    if (place.isEmpty()) {
        const QScreen *primary = QGuiApplication::primaryScreen();
        const QRect free = primary ? primary->availableGeometry() : QRect(0, 0, 1024, 768);
        place.setSize({free.width() * 3 / 4, height});
        place.moveCenter(free.center());
        place.moveBottom(free.bottom() - free.height() / 12);
    }
    place.setHeight(height);
    if (WindowMover::canPlaceItself() ? place != geometry() : place.size() != size()) {
        setFixedSize(place.size());
        move(place.topLeft());
    }
    setLocked(settings.locked);
    m_lockItem->setChecked(settings.locked);
    drawLines();
    update();
    if (settings.shown != isVisible()) {
        setVisible(settings.shown);
        if (settings.shown)
            raise();
    }
}

void DesktopLyrics::followFullScreen(QWidget *fullScreen)
{
    QWindow *owner = fullScreen ? fullScreen->windowHandle() : nullptr;
    winId();
    if (windowHandle()->transientParent() == owner)
        return;
    windowHandle()->setTransientParent(owner);
    // The window system learns the owner when the window is shown.
    if (isVisible()) {
        hide();
        show();
    }
}

void DesktopLyrics::setLocked(bool locked)
{
    const Qt::WindowFlags flags = windowFlags().setFlag(Qt::WindowTransparentForInput, locked);
    if (flags == windowFlags())
        return;
    m_grab.reset();
    // Told to the window system on the window as it is, without recreating (and so hiding)
    // it; a window not made yet is made first, so that a start locked lets clicks through
    // from its first showing as well.
    winId();
    overrideWindowFlags(flags);
    windowHandle()->setFlags(flags);
}

void DesktopLyrics::retellLock()
{
    if (!m_store.settings().locked || !windowHandle())
        return;
    const Qt::WindowFlags flags = windowFlags();
    windowHandle()->setFlags(flags & ~Qt::WindowTransparentForInput);
    windowHandle()->setFlags(flags);
}

void DesktopLyrics::takeLines()
{
    const KaraokeSource::KaraokeLines lines = m_source.karaokeLines();
    if (lines == m_lines)
        return;
    m_lines = lines;
    drawLines();
    m_fill = m_source.karaokeFill();
    update();
    updateFrameTimer();
}

void DesktopLyrics::drawLines()
{
    const DesktopLyricSettings &settings = m_store.settings();
    // Only what fits the window is drawn: a long line shows its start.
    const QFontMetricsF metrics(m_font);
    const double room = width() - 2 * (Padding + OutlineWidth);
    m_edges = characterEdges(metrics, m_lines.current, room);
    const QString current = m_lines.current.left(shownCharacters());
    const QString next = m_lines.next.left(characterEdges(metrics, m_lines.next, room).size() - 1);
    m_currentRect = lineRect(m_lines.index, current);
    m_nextRect = lineRect(m_lines.index + 1, next);
    m_currentImage = lineImage(current, QColor(settings.normal));
    m_sungImage = lineImage(current, QColor(settings.highlight));
    m_nextImage = lineImage(next, QColor(settings.normal));
}

void DesktopLyrics::showFill()
{
    const double fill = m_source.karaokeFill();
    const auto column = [this](double characters) {
        return std::floor(sungWidth(m_edges, characters));
    };
    // A move within one pixel column waits until it reaches the next, except the last one.
    const bool full = fill >= double(shownCharacters());
    if (fill != m_fill && (full || column(fill) != column(m_fill))) {
        update(fillStrip(m_fill, fill));
        m_fill = fill;
    }
    updateFrameTimer();
}

void DesktopLyrics::updateFrameTimer()
{
    const bool moves = isVisible() && m_source.isRunning() && shownCharacters() > 0 &&
                       m_fill < double(shownCharacters());
    if (!moves) {
        m_frameTimer.stop();
        return;
    }
    if (m_frameTimer.isActive())
        return;
    const QScreen *on = screen();
    const double rate = on && on->refreshRate() > 1 ? on->refreshRate() : FallbackRefreshRate;
    m_frameTimer.start(std::max(1, int(std::ceil(1000 * FramesPerStep / rate))));
}

// The lines are drawn once, when they change; a frame of the fill copies a strip of them.
void DesktopLyrics::paintEvent(QPaintEvent * /*event*/)
{
    if (std::exchange(m_isLockToRetell, false))
        QTimer::singleShot(0, this, &DesktopLyrics::retellLock);
    QPainter painter(this);
    painter.drawImage(m_nextRect.topLeft(), m_nextImage);
    const QRectF &line = m_currentRect;
    painter.drawImage(line.topLeft(), m_currentImage);
    if (m_fill <= 0)
        return;
    const double sungRight = line.left() + OutlineWidth + sungWidth(m_edges, m_fill);
    painter.setClipRect(QRectF(line.topLeft(), QPointF(sungRight, line.bottom())));
    painter.drawImage(line.topLeft(), m_sungImage);
}

void DesktopLyrics::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_store.settings().locked)
        return QWidget::mousePressEvent(event);
    // Where a window cannot place itself the compositor moves it.
    if (!WindowMover::canPlaceItself()) {
        if (QWindow *handle = windowHandle())
            handle->startSystemMove();
        return;
    }
    m_grab = event->position().toPoint();
}

void DesktopLyrics::mouseMoveEvent(QMouseEvent *event)
{
    if (m_grab)
        move(event->globalPosition().toPoint() - *m_grab);
}

void DesktopLyrics::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_grab)
        return QWidget::mouseReleaseEvent(event);
    m_grab.reset();
    DesktopLyricSettings settings = m_store.settings();
    settings.place = geometry();
    m_store.setSettings(settings);
}

void DesktopLyrics::contextMenuEvent(QContextMenuEvent *event)
{
    m_menu->popup(event->globalPos());
}

void DesktopLyrics::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window manager that frames the window as it maps it (openbox) keeps the frame taking
    // clicks when the window's input shape was set before: it is set again once the window is
    // on the screen, which its first paint shows.
    m_isLockToRetell = m_store.settings().locked;
    takeLines();
    showFill();
    updateFrameTimer();
}

void DesktopLyrics::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    updateFrameTimer();
}
