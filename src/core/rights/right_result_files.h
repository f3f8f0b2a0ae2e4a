#pragma once
// The files the rights operations leave in the program directory: the lists of cards that
// failed, the rights read back, and the daily grant log. Contents are GBK with CR LF line
// ends; lists are replaced whole, the grant log grows.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

class Clock;
class ToolSession;

inline constexpr std::string_view kAddFailuresFile = "添加权限失败清单.txt";
inline constexpr std::string_view kRemoveFailuresFile = "删除权限失败清单.txt";
inline constexpr std::string_view kCheckFailuresFile = "检查权限失败清单.txt";
inline constexpr std::string_view kDownloadFile = "下载权限.txt";

// "授权日志-%Y%m%d.txt" with the clock's local date.
std::string grantLogName(const Clock& clock);

// The lines (UTF-8) as such a file holds them: GBK, each followed by CR LF.
std::string resultListText(const std::vector<std::string>& lines);

// Writes resultListText(lines), replacing the file in the program directory; its full path, or
// nothing after the message "写文本文件数据失败，文件名=…" when it cannot be written.
std::optional<std::string> writeResultList(ToolSession& session, std::string_view fileName,
                                           const std::vector<std::string>& lines);

// The grant log of one add or upload: "%Y-%m-%d %H:%M:%S " and the card, one line for every
// right the controller took, written at once.
class GrantLog {
  public:
    explicit GrantLog(ToolSession& session);
    ~GrantLog();
    GrantLog(const GrantLog&) = delete;
    GrantLog& operator=(const GrantLog&) = delete;

    void record(const std::string& utf8Card);

  private:
    struct File;
    const Clock& clock_;
    std::unique_ptr<File> file_;
};

} // namespace quorvane
