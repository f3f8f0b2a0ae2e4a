#include "app/memory_handlers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window_controls.h"
#include "app/operation_controls.h"
#include "app/qt_user_port.h"
#include "app/running_scope.h"
#include "dialogs/dlg_scan_prompt.h"
#include "model/config_table.h"
#include "rights/right_image.h"
#include "session/tool_session.h"
#include "transfer/firmware.h"
#include "transfer/memory_buttons.h"
#include "transfer/memory_transfer.h"
#include "transfer/right_image_write.h"
#include "transfer/scan_prompts.h"

namespace quorvane::gui {

namespace {
constexpr const char* kBinFilter = "BIN Files(*.bin)|*.bin|All Files(*.*)|*.*||";

// batchUpDown's settings for a whole memory and a file.
TransferSettings whole(Direction direction, int mask, const std::string& file) {
    TransferSettings s;
    s.direction = direction;
    s.mask = mask;
    s.fileName = file;
    return s;
}
} // namespace

MemoryHandlers::MemoryHandlers(WindowContext& ctx) : WindowGroup(ctx) {
    const MainWindowControls& c = ctx.c;
    const std::pair<QPushButton*, void (MemoryHandlers::*)()> buttons[] = {
        {c.memWriteE, &MemoryHandlers::OnBnClickedMem},
        {c.memReadE, &MemoryHandlers::OnBnClickedMem2},
        {c.memWriteF, &MemoryHandlers::OnBnClickedMem3},
        {c.memReadF, &MemoryHandlers::OnBnClickedMem4},
        {c.memRightE, &MemoryHandlers::OnBnClickedMem7},
        {c.memRightF, &MemoryHandlers::OnBnClickedMem8},
        {c.memRightImage, &MemoryHandlers::OnBnClickedMem7and8},
        {c.clearE, &MemoryHandlers::OnBnClickedMem9},
        {c.clearF, &MemoryHandlers::OnBnClickedMem10},
        {c.loadE, &MemoryHandlers::OnBnClickedMem11},
        {c.loadF, &MemoryHandlers::OnBnClickedMem12},
        {c.backupE, &MemoryHandlers::OnBnClickedMem5},
        {c.backupF, &MemoryHandlers::OnBnClickedMem6},
        {c.uploadSound, &MemoryHandlers::OnBnClickedUploadSound},
        {c.downloadSound, &MemoryHandlers::OnBnClickedDownloadSound},
        {c.updateFirmware, &MemoryHandlers::OnBnClickedUpdateFirmware},
        {c.downloadFirmware, &MemoryHandlers::OnBnClickedDownloadFirmware},
        {c.clearCode, &MemoryHandlers::OnBnClickedClearCode},
        {c.playSound, &MemoryHandlers::OnBnClickedPlaySound},
        {c.scanPrompt, &MemoryHandlers::OnBnClickedScanPrompt},
        {c.browse, &MemoryHandlers::OnBnClickedBrowse},
    };
    for (const auto& [button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this, handler);
        ctx.operations.provide(button);
    }
    connect(c.upgradeAll, &QCheckBox::toggled, this, &MemoryHandlers::OnBnClickedUpgradeAll);
    ctx.operations.provide(c.upgradeAll);
}

void MemoryHandlers::withDevice(const std::function<void(const DeviceUIInfo&)>& work) {
    Running running(running_);
    if (!running.entered())
        return;
    auto device = selected();
    if (!device) {
        ctx_.port.showMessage("请选择要操作的设备！");
        return;
    }
    work(*device);
}

std::string MemoryHandlers::fieldFile() const {
    return ctx_.c.fileName->text().toStdString();
}

std::optional<std::string> MemoryHandlers::openFile() {
    std::string field = fieldFile();
    if (!field.empty())
        return field;
    return ctx_.port.pickOpenFile(kBinFilter);
}

std::optional<std::string> MemoryHandlers::saveFile(const std::string& proposed) {
    std::string field = fieldFile();
    if (!field.empty())
        return field;
    return ctx_.port.pickSaveFile(".bin", kBinFilter, proposed);
}

void MemoryHandlers::OnBnClickedMem() {
    withDevice([this](const DeviceUIInfo& d) {
        if (auto file = openFile())
            batchUpDown(ctx_.session, d, images_, whole(Direction::Write, kMaskEeprom, *file));
    });
}

void MemoryHandlers::OnBnClickedMem2() {
    withDevice([this](const DeviceUIInfo& d) {
        if (auto file = saveFile(proposedImageName(ctx_.session, "eeprom", d)))
            batchUpDown(ctx_.session, d, images_, whole(Direction::Read, kMaskEeprom, *file));
    });
}

void MemoryHandlers::OnBnClickedMem3() {
    withDevice([this](const DeviceUIInfo& d) {
        if (!ctx_.port.askYesNo(kFlashQuestion))
            return;
        if (auto file = openFile())
            batchUpDown(ctx_.session, d, images_, whole(Direction::Write, kMaskFlash, *file));
    });
}

void MemoryHandlers::OnBnClickedMem4() {
    withDevice([this](const DeviceUIInfo& d) {
        if (!ctx_.port.askYesNo(kFlashQuestion))
            return;
        if (auto file = saveFile(proposedImageName(ctx_.session, "flash", d)))
            batchUpDown(ctx_.session, d, images_, whole(Direction::Read, kMaskFlash, *file));
    });
}

void MemoryHandlers::OnBnClickedMem7() {
    withDevice([this](const DeviceUIInfo& d) {
        if (!ctx_.port.askYesNo(kFlashQuestion))
            return;
        auto file = ctx_.port.pickOpenFile(kBinFilter);
        if (file && loadImage(ctx_.session, images_, MemoryType::Eeprom, *file) == 0)
            upload_EEPROM(ctx_.session, d, images_, kRightEepromFirstPage, kEepromPages, {}, {});
    });
}

void MemoryHandlers::OnBnClickedMem8() {
    withDevice([this](const DeviceUIInfo& d) {
        if (!ctx_.port.askYesNo(kFlashQuestion))
            return;
        auto file =
            ctx_.port.pickSaveFile(".bin", kBinFilter, proposedImageName(ctx_.session, "right", d));
        if (file && loadImage(ctx_.session, images_, MemoryType::Flash, *file) == 0)
            upload_FLASH(ctx_.session, d, images_, 0, kRightFlashPages, {}, {});
    });
}

void MemoryHandlers::OnBnClickedMem7and8() {
    withDevice([this](const DeviceUIInfo& d) {
        const int rightMode = static_cast<int>(readNumber(configField("rightMode"), d.doorConfig));
        RightImage image(images_.eeprom, images_.flash, rightMode, nullptr, nullptr);
        uploadRightImage(ctx_.session, d, images_,
                         [&image](bool e, std::uint32_t a, std::uint32_t n) {
                             return image.testRightMask(e, a, n);
                         });
    });
}

void MemoryHandlers::OnBnClickedMem9() {
    clearEepromImage(images_);
}

void MemoryHandlers::OnBnClickedMem10() {
    clearFlashImage(images_);
}

void MemoryHandlers::OnBnClickedMem11() {
    loadImage(ctx_.session, images_, MemoryType::Eeprom, fieldFile());
    ctx_.c.fileName->clear();
}

void MemoryHandlers::OnBnClickedMem12() {
    loadImage(ctx_.session, images_, MemoryType::Flash, fieldFile());
    ctx_.c.fileName->clear();
}

void MemoryHandlers::OnBnClickedMem5() {
    backupImage(ctx_.session, images_, MemoryType::Eeprom);
}

void MemoryHandlers::OnBnClickedMem6() {
    backupImage(ctx_.session, images_, MemoryType::Flash);
}

void MemoryHandlers::OnBnClickedUploadSound() {
    withDevice([this](const DeviceUIInfo& d) {
        if (auto file = ctx_.port.pickOpenFile(kBinFilter))
            batchUpDown(ctx_.session, d, images_, whole(Direction::Write, kMaskSound, *file));
    });
}

void MemoryHandlers::OnBnClickedDownloadSound() {
    withDevice([this](const DeviceUIInfo& d) {
        if (auto file = ctx_.port.pickSaveFile(".bin", kBinFilter))
            batchUpDown(ctx_.session, d, images_, whole(Direction::Read, kMaskSound, *file));
    });
}

void MemoryHandlers::OnBnClickedUpdateFirmware() {
    withDevice([this](const DeviceUIInfo& d) {
        if (!ctx_.port.askYesNoDefaultNo(kUpgradeQuestion))
            return;
        if (auto file = openFile()) {
            TransferSettings upgrade = whole(Direction::Write, kMaskFirmware, *file);
            upgrade.broadcast = ctx_.c.upgradeAll->isChecked();
            batchUpDown(ctx_.session, d, images_, upgrade);
        }
    });
}

void MemoryHandlers::OnBnClickedDownloadFirmware() {
    withDevice([this](const DeviceUIInfo& d) { readFirmware(ctx_.session, d, images_, {}); });
}

void MemoryHandlers::OnBnClickedUpgradeAll(bool checked) {
    if (checked)
        ctx_.port.showMessage(kUpgradeAllNotice);
}

void MemoryHandlers::OnBnClickedClearCode() {
    withDevice([this](const DeviceUIInfo& d) { clearProgram(ctx_.session, d); });
}

void MemoryHandlers::OnBnClickedPlaySound() {
    withDevice([this](const DeviceUIInfo& d) {
        const MainWindowControls& c = ctx_.c;
        const int count = c.playCount ? c.playCount->currentIndex() : 255;
        playSound(ctx_.session, d, count, c.soundList->currentIndex(), c.playDirect->isChecked());
    });
}

void MemoryHandlers::OnBnClickedScanPrompt() {
    withDevice([this](const DeviceUIInfo& d) {
        const Settings& settings = ctx_.session.settings();
        CDlgScanPrompt dlg(scanPromptOptions(settings), readScanPrompts(settings, d), ctx_.window);
        if (dlg.exec() == QDialog::Accepted)
            saveScanPrompts(ctx_.session, d, dlg.prompts());
    });
}

void MemoryHandlers::OnBnClickedBrowse() {
    if (auto file = ctx_.port.pickOpenFile(kBinFilter))
        ctx_.c.fileName->setText(QString::fromStdString(*file));
}

} // namespace quorvane::gui
