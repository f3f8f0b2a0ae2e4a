#include "app/right_handlers.h"

#include <set>
#include <utility>

#include <QInputDialog>
#include <QPushButton>

#include "app/device_list_menu.h"
#include "app/main_window_controls.h"
#include "app/qt_user_port.h"
#include "app/running_scope.h"
#include "dialogs/dlg_config_copy.h"
#include "dialogs/dlg_right_man.h"
#include "rights/card_list.h"
#include "rights/local_rights.h"
#include "rights/right_commands.h"
#include "rights/right_copy.h"
#include "rights/right_defaults.h"
#include "rights/right_download.h"
#include "rights/right_list_operations.h"
#include "rights/right_reads.h"
#include "rights/right_test_operations.h"
#include "rights/right_upload.h"
#include "session/tool_session.h"
#include "transfer/right_image_write.h"

namespace quorvane::gui {

RightHandlers::RightHandlers(WindowContext& ctx) : WindowGroup(ctx) {
    connect(ctx.c.rights, &QPushButton::clicked, this, &RightHandlers::OnBnClickedRightMan);
}

void RightHandlers::setLocalCardReader(std::function<std::optional<std::string>()> reader) {
    reads_.setReader(std::move(reader));
}

void RightHandlers::addMenuActions(DeviceListMenuActions& actions) {
    actions.rights = [this] { OnBnClickedRightMan(); };
    actions.copyRights = [this] { OnBnClickedRightmanCopy(); };
}

// The fields start from their defaults; after the numbers were taken from a data file the
// dialog opens again with the values the person had set and the numbers taken.
void RightHandlers::OnBnClickedRightMan() {
    Running running(running_);
    if (!running.entered())
        return;
    RightFields fields = readRightDefaults(ctx_.session.settings(), ctx_.session.clock());
    for (;;) {
        fields.numbers = std::exchange(rememberedNumbers_, {});
        CDlgRightMan dlg(ctx_.session.settings(), fields, &reads_, ctx_.window);
        // The person sees which controller the commands go to.
        if (const auto device = selected())
            dlg.setWindowTitle(dlg.windowTitle() + " - " + QString::fromStdString(device->ip));
        if (dlg.exec() != QDialog::Accepted || !OnRightCmdCalled(dlg))
            return;
        fields = dlg.fields();
    }
}

bool RightHandlers::OnRightCmdCalled(const CDlgRightMan& dlg) {
    ToolSession& session = ctx_.session;
    const RightFields fields = dlg.fields();
    const int command = dlg.command();
    if (command == kRightCmdFromDataFile) {
        takeNumbersFromDataFile(fields.numbers);
        return true;
    }
    // The plain "确定" chose nothing.
    if (command == kRightCmdNone)
        return false;
    const auto device = selected();
    // The window stays disabled for the whole operation, the pauses between test runs too.
    WinDisabler busy(ctx_.port);
    const RandomSource random = [this] { return nextRandom(); };
    switch (command) {
    case kRightCmdAdd:
        addRights(session, device, fields);
        break;
    case kRightCmdRemove:
        removeRights(session, device, fields);
        break;
    case kRightCmdCheck:
        checkRights(session, device, fields);
        break;
    case kRightCmdClear:
        clearRights(session, device);
        break;
    case kRightCmdFill1:
        fillRights(session, device, fields, 1, random);
        break;
    case kRightCmdFill10:
        fillRights(session, device, fields, 10, random);
        break;
    case kRightCmdVerify1:
        verifyRights(session, device, fields, 1, random);
        break;
    case kRightCmdVerify10:
        verifyRights(session, device, fields, 10, random);
        break;
    case kRightCmdGetRight:
        readRightAt(session, device, fields.startPosition, fields.searchForward);
        break;
    case kRightCmdDownload:
        downloadRightsOrCard(session, device, fields);
        break;
    case kRightCmdUpload:
        uploadRights(session, device);
        break;
    case kRightCmdVirtualScan:
        simulateSwipe(session, device, fields);
        break;
    case kRightCmdUploadImage:
        uploadImage(device, fields);
        break;
    default:
        break;
    }
    return false;
}

std::optional<LocalRightSource> RightHandlers::pickNumberSource() {
    QStringList names;
    const std::string templatePath = localRightSourcePath(ctx_.session, LocalRightSource::Template);
    for (const auto& n : localRightSourceNames(templatePath))
        names << QString::fromStdString(n);
    bool ok = false;
    const QString choice =
        QInputDialog::getItem(ctx_.window, QString::fromUtf8("选择数据来源"),
                              QString::fromUtf8("选择数据来源"), names, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return static_cast<LocalRightSource>(names.indexOf(choice));
}

void RightHandlers::takeNumbersFromDataFile(const std::string& typed) {
    const auto source = pickNumberSource();
    rememberedNumbers_ = typed;
    if (!source)
        return;
    std::set<std::string> cards;
    LocalRightsOptions options;
    options.cards = &cards;
    if (loadLocalRights(ctx_.session, *source, RightFields{}, options) >= 0) {
        rememberedNumbers_ = cardSetText(cards);
        ctx_.port.showMessage("已取卡号数量=" + std::to_string(cards.size()));
    }
}

void RightHandlers::uploadImage(const std::optional<DeviceUIInfo>& device,
                                const RightFields& fields) {
    if (!device) {
        ctx_.port.showMessage("请选择要操作的设备！");
        return;
    }
    if (auto source = images_ ? pickNumberSource() : std::nullopt)
        uploadRightFileAsImage(ctx_.session, *device, *images_, *source, fields);
}

void RightHandlers::OnBnClickedRightmanCopy() {
    Running running(running_);
    if (!running.entered())
        return;
    CDlgConfigCopy dlg(ctx_.session.devices().snapshot(), ctx_.window);
    if (dlg.exec() != QDialog::Accepted)
        return;
    WinDisabler busy(ctx_.port);
    copyRights(ctx_.session, dlg.sources(), dlg.targets());
}

} // namespace quorvane::gui
