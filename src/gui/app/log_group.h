#pragma once
// The log retrieval area ("３.从控制器提取日志数据"): where a fetch starts and how many records it
// takes, and the operations that fetch records and identity documents, fill the log and query
// the data.
#include <cstdint>
#include <optional>

#include "app/window_group.h"
#include "idcard/photo_decode.h"

namespace quorvane::gui {

class LogGroup : public WindowGroup {
    Q_OBJECT
  public:
    explicit LogGroup(WindowContext& ctx);

    void readInitialValues();

  public slots:
    // A selected device: the fetch starts at its last records (log count - fetch count + 1,
    // at least 1).
    void showLogStart(const DeviceUIInfo* record);
    void OnEnChangeLogCount();
    void OnBnClickedGetRec();
    void OnBnClickedGetIdinfo();
    void OnBnClickedFillLog();
    void OnBnClickedQueryRec();

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
};

} // namespace quorvane::gui
