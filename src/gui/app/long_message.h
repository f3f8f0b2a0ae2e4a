#pragma once
// A message too long for a message box (a detail text, the state of eight controllers, a
// summary with a line per target): its text scrolls inside a box that fits a 1024 × 768
// screen, so its OK button is always on the screen.
#include <QString>

class QWidget;

namespace quorvane::gui {

// True when a message box would grow past a small screen with this text.
bool needsScrolling(const QString& text);

// Shows text read-only in a scrollable field with an OK button; returns when it is closed.
void showLongMessage(QWidget* parent, const QString& caption, const QString& text);

} // namespace quorvane::gui
