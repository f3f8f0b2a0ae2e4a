#pragma once
// The rights area of the main window: "权限配置(&P)" opens the rights dialog, and the operation
// chosen there runs on the controller selected in the list once the dialog has closed; the
// context menu's "复制权限" copies rights between controllers. The area keeps what lives
// between openings of the dialog: the remembered number text and the local card reader.
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "app/window_group.h"
#include "dialogs/local_card_reads.h"
#include "rights/local_right_sources.h"
#include "rights/right_fields.h"
#include "transfer/memory_images.h"

namespace quorvane::gui {

class CDlgRightMan;
struct DeviceListMenuActions;

class RightHandlers : public WindowGroup {
    Q_OBJECT
  public:
    explicit RightHandlers(WindowContext& ctx);

    // The PC's own identity-card reader: one call reads one card number (UTF-8), or nothing
    // when no card lay on it. It runs on a worker thread, may block for seconds and may be
    // called after the rights dialog closed, so it must own what it uses. Without one the
    // dialog's reader box does nothing.
    void setLocalCardReader(std::function<std::optional<std::string>()> reader);
    // The images the full upload of a card-number file builds and sends.
    void setMemoryImages(MemoryImages* images) { images_ = images; }
    // The context menu's rights entries.
    void addMenuActions(DeviceListMenuActions& actions);

    // The number text the next opening of the dialog shows (then it is cleared).
    const std::string& rememberedNumbers() const { return rememberedNumbers_; }
    LocalCardReads& localReads() { return reads_; }

  public slots:
    void OnBnClickedRightMan();
    void OnBnClickedRightmanCopy();

  public:
    // Runs the operation the dialog chose. True when the dialog opens again (the numbers taken
    // from a data file).
    bool OnRightCmdCalled(const CDlgRightMan& dlg);

  private:
    // The numbers of a data file the person picks the source of, as the next number text;
    // the typed text stays when nothing was read.
    void takeNumbersFromDataFile(const std::string& typed);
    // The source "选择数据来源" offers, or nothing when the person closed the list.
    std::optional<LocalRightSource> pickNumberSource();
    void uploadImage(const std::optional<DeviceUIInfo>& device, const RightFields& fields);
    std::uint32_t nextRandom() { return static_cast<std::uint32_t>(random_()); }

    LocalCardReads reads_;
    MemoryImages* images_ = nullptr;
    std::string rememberedNumbers_;
    std::mt19937 random_{std::random_device{}()};
    // Operations pump the window's events while they wait: a second start meanwhile is ignored.
    bool running_ = false;
};

} // namespace quorvane::gui
