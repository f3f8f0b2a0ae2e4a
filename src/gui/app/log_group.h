#pragma once
// The log retrieval area ("３.从控制器提取日志数据"): where a fetch starts and how many records it
// takes, and the operations that fetch records and identity documents, fill the log and query
// the data.
#include <cstdint>
#include <optional>

#include "app/window_group.h"
#include "idcard/photo_decode.h"
#include "transfer/memory_images.h"

namespace quorvane::gui {

class LogGroup : public WindowGroup {
    Q_OBJECT
  public:
    explicit LogGroup(WindowContext& ctx);

    void readInitialValues();
    // The program's memory images, whose log areas the log viewer uses.
    void setMemoryImages(MemoryImages* images) { images_ = images; }

  public slots:
    // A selected device: the fetch takes its last records (the controller numbers them from
    // 0, so they start at log count - fetch count, at least 0).
    void showLogStart(const DeviceUIInfo* record);
    void OnEnChangeLogCount();
    void OnBnClickedGetRec();
    void OnBnClickedGetIdinfo();
    void OnBnClickedFillLog();
    void OnBnClickedQueryRec();
    // The device refreshed, then "设备日志查看器" on it; opened again (on a fresh read of the
    // device) for as long as the viewer ends with its refresh button.
    void OnBnClickedLogViewer();

  private:
    struct Range {
        std::uint32_t start = 0;
        std::uint32_t count = 0;
    };
    // The start and count fields, or nothing after "保存界面数据失败！".
    std::optional<Range> range();

    bool running_ = false;
    // Read once per run.
    int fillLogCount_ = 1;
    int saveType_ = 1;
    PhotoDecoder photos_;
    MemoryImages* images_ = nullptr;
};

} // namespace quorvane::gui
