#include "app/quorvane_app.h"

#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "app/qt_user_port.h"
#include "app/quorvane_dlg.h"
#include "app/tooltips.h"
#include "infra/program_dir.h"
#include "platform/files.h"
#include "session/tool_session.h"

namespace quorvane::gui {

CQuorvaneApp::CQuorvaneApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName("quorvane");
    setApplicationName("quorvane");
    installQtTranslations(*this);
    applyTooltipStyle(*this);
}

bool installQtTranslations(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_",
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

bool logEchoWanted(const Settings& settings) {
    return platform::environment("QUORVANE_DEBUG") == "1" ||
           settings.readInt("options", "log-echo", 0) != 0;
}

int CQuorvaneApp::run() {
    // Relative names of the tool (".\data", ".\config", the service scripts) resolve here.
    const std::string home = programDirectory();
    platform::changeDirectory(home);

    QtUserPort port;
    ToolSession session(home, port);
    session.log().setEcho(logEchoWanted(session.settings()));
    CQuorvaneDlg dlg(session, port);
    if (!dlg.OnInitDialog())
        return 0;
    // The window opens no larger than the screen it is on (a laptop's 1366 x 768, 1024 x 768).
    const QSize available =
        dlg.screen() ? dlg.screen()->availableGeometry().size() : dlg.sizeHint();
    const QSize wanted = dlg.sizeHint();
    if (wanted.width() > available.width() || wanted.height() > available.height()) {
        dlg.resize(available); // the size of a maximised window where no window manager is
        dlg.showMaximized();
    } else {
        dlg.resize(wanted);
        dlg.show();
    }
    return exec();
}

} // namespace quorvane::gui
