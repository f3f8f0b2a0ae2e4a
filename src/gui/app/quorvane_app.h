#pragma once
// The application object: makes the program directory current, loads Qt's own translations,
// styles the tooltips, and runs the main window until it closes.
#include <QApplication>
#include <QLocale>

namespace quorvane {
class Settings;
}

namespace quorvane::gui {

class CQuorvaneApp : public QApplication {
    Q_OBJECT
  public:
    CQuorvaneApp(int& argc, char** argv);

    // Creates the window, runs its start-up and then the event loop; the exit code.
    int run();
};

// Qt's own texts (standard buttons, file and colour dialogs) in Chinese whatever the desktop's
// locale, so they read as the tool's captions do ("确定", "取消"): an English desktop showed
// "选择'是'/'否'/'取消'" above Yes/No/Cancel. False when no translation is installed.
bool installQtTranslations(QApplication& app);

// Whether the tool log is also printed on the terminal: off unless QUORVANE_DEBUG=1 or the
// setting `log-echo` (section `options`) asks for it, so a terminal that started the tool is
// not flooded with the dumps of every datagram.
bool logEchoWanted(const Settings& settings);

} // namespace quorvane::gui
