#pragma once

#include <QObject>

class QLabel;
class QWidget;

// The main window's activation watcher: an event filter on the window that colours the
// title label `LTitle` yellow while the window is active and blue while another window is.
// It only looks: every event goes on to the window unchanged. Installed once, as the last
// step of the start-up; before that the title keeps its design colour, yellow.
class MainWndProc : public QObject
{
    Q_OBJECT

public:
    static const QColor ActiveColour;
    static const QColor InactiveColour;

    explicit MainWndProc(QLabel &title, QObject *parent = nullptr);

    // Starts watching `window`; a second call changes nothing.
    void install(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel &m_title;
    QWidget *m_window = nullptr;
};
