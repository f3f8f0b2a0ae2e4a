#include "app/quorvane_app.h"

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
    applyTooltipStyle(*this);
}

int CQuorvaneApp::run() {
    // Relative names of the tool (".\data", ".\config", the service scripts) resolve here.
    const std::string home = programDirectory();
    platform::changeDirectory(home);

    QtUserPort port;
    ToolSession session(home, port);
    CQuorvaneDlg dlg(session, port);
    if (!dlg.OnInitDialog())
        return 0;
    dlg.show();
    return exec();
}

} // namespace quorvane::gui
