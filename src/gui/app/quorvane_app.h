#pragma once
// The application object: makes the program directory current, styles the tooltips, and runs
// the main window until it closes.
#include <QApplication>

namespace quorvane::gui {

class CQuorvaneApp : public QApplication {
    Q_OBJECT
  public:
    CQuorvaneApp(int& argc, char** argv);

    // Creates the window, runs its start-up and then the event loop; the exit code.
    int run();
};

} // namespace quorvane::gui
