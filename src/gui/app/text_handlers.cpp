#include "app/text_handlers.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/device_list_menu.h"
#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "app/running_scope.h"
#include "dialogs/dlg_batch_cmd.h"
#include "session/tool_session.h"
#include "textcmd/text_commands.h"

namespace quorvane::gui {

TextHandlers::TextHandlers(WindowContext& ctx) : WindowGroup(ctx) {
    connect(ctx.c.textCmd, &QPushButton::clicked, this, &TextHandlers::OnBnClickedTextCmd);
    connect(ctx.c.finger, &QPushButton::clicked, this, &TextHandlers::OnBnClickedFinger);
}

void TextHandlers::addMenuActions(DeviceListMenuActions& actions) {
    actions.textCmd = [this] { OnBnClickedTextCmd(); };
    actions.presets = {[this] { OnBnClickedTextCmd1(); }, [this] { OnBnClickedTextCmd2(); },
                       [this] { OnBnClickedTextCmd3(); }};
}

// The dialog works on a copy of the list as it is now; with the broadcast run every frame goes
// to the search destination of the current mode.
void TextHandlers::OnBnClickedTextCmd() {
    Running running(running_);
    if (!running.entered())
        return;
    ToolSession& session = ctx_.session;
    auto current = selected();
    CDlgBatchCmd dlg(session.devices().snapshot(), current ? current->getTargetId() : 0,
                     session.settings(), &session.log(), ctx_.port, ctx_.window);
    if (dlg.exec() != QDialog::Accepted)
        return;
    TextRun run{dlg.command(), dlg.targets(), std::nullopt};
    if (dlg.broadcast())
        run.broadcast = session.channel().searchTarget();
    WinDisabler busy(ctx_.port);
    runTextCommand(session, run, textRandom(session.clock()));
}

void TextHandlers::OnBnClickedTextCmd1() {
    sendTextPreset(ctx_.session, selected(), 1);
}
void TextHandlers::OnBnClickedTextCmd2() {
    sendTextPreset(ctx_.session, selected(), 2);
}
void TextHandlers::OnBnClickedTextCmd3() {
    sendTextPreset(ctx_.session, selected(), 3);
}

void TextHandlers::OnBnClickedFinger() {
    uploadFingerTemplate(ctx_.session, selected(), ctx_.c.fileName->text().toStdString());
}

} // namespace quorvane::gui
