#pragma once
// Work that can wait for the window's first frame.
#include <QWidget>
#include <functional>

namespace tarvane {

// Runs `then` once, in the event after `window` was first drawn on screen, so the
// window shows without waiting for it (at once for a window already on screen).
// A window that is not exposed within `latestMs` (started minimised, say) gets
// it then all the same. Nothing runs when the window goes first.
void AfterFirstFrame(QWidget& window, std::function<void()> then, int latestMs = 500);

} // namespace tarvane
