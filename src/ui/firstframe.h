#pragma once

#include <functional>

class QWidget;

// Runs `work` once, in the turn of the event loop after `window`'s first frame: the first
// time its native window is exposed, which is when Qt paints and flushes it. Work the
// window does not need for that frame (the session bus, the notification area) so keeps
// out of the start-up's path to the screen. A window that is not exposed within
// `latestMs` (hidden at the start, or on another workspace) runs the work then.
// Nothing runs when the window is destroyed first.
void runAfterFirstFrame(QWidget &window, std::function<void()> work, int latestMs = 1000);
