#include "app/tool_settings_group.h"

#include <QPushButton>

#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "dialogs/dlg_option_ini.h"
#include "dialogs/dlg_password.h"
#include "session/tool_session.h"

namespace quorvane::gui {

ToolSettingsGroup::ToolSettingsGroup(WindowContext& ctx) : WindowGroup(ctx) {
    connect(ctx.c.serviceConfig, &QPushButton::clicked, this,
            &ToolSettingsGroup::OnBnClickedServiceConfig);
    connect(ctx.c.changePass, &QPushButton::clicked, this,
            &ToolSettingsGroup::OnBnClickedChangePass);
}

void ToolSettingsGroup::OnBnClickedServiceConfig() {
    CDlgOptionINI dlg(ctx_.session.settings(), ctx_.port, ctx_.window);
    dlg.exec();
}

void ToolSettingsGroup::OnBnClickedChangePass() {
    if (auto message = askNewStartPassword(ctx_.window, ctx_.session.settings()))
        ctx_.port.showMessage(*message);
}

} // namespace quorvane::gui
