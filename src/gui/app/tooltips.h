#pragma once
// The main window's tooltips: black background, red text, at most 300 pixels wide, shown after
// one second for twenty seconds.
#include <utility>
#include <vector>

class QApplication;
class QWidget;

namespace quorvane::gui {

struct MainWindowControls;

// The (control, text) pairs of the window, texts in UTF-8.
std::vector<std::pair<QWidget*, const char*>> tooltipTable(const MainWindowControls& c);
void registerTooltips(const MainWindowControls& c);
// The tooltip look and timing for the whole application.
void applyTooltipStyle(QApplication& app);

} // namespace quorvane::gui
