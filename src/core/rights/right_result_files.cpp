#include "rights/right_result_files.h"

#include "infra/clock.h"
#include "infra/codepage.h"
#include "infra/shown_text.h"
#include "infra/tool_log.h"
#include "platform/files.h"
#include "session/tool_session.h"

namespace quorvane {

std::string grantLogName(const Clock& clock) {
    return clock.format("授权日志-%Y%m%d.txt");
}

std::string resultListText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += toGbk(shownText(line, kShownLineLimit)) + "\r\n";
    return text;
}

std::optional<std::string> writeResultList(ToolSession& session, std::string_view fileName,
                                           const std::vector<std::string>& lines) {
    std::string path = session.settings().resolve(fileName);
    if (writeTextFile(&session.log(), path, resultListText(lines)))
        return path;
    session.port().showMessage("写文本文件数据失败，文件名=" + path);
    return std::nullopt;
}

struct GrantLog::File {
    explicit File(const std::string& path) : out(path) {}
    platform::AppendFile out;
};

GrantLog::GrantLog(ToolSession& session)
    : clock_(session.clock()),
      file_(std::make_unique<File>(session.settings().resolve(grantLogName(session.clock())))) {
    if (!file_->out.isOpen())
        session.log().writeLogLine("写文本文件数据失败，文件名=" +
                                   session.settings().resolve(grantLogName(clock_)) + "\n");
}

GrantLog::~GrantLog() = default;

void GrantLog::record(const std::string& utf8Card) {
    file_->out.write(clock_.format("%Y-%m-%d %H:%M:%S ") + toGbk(shownText(utf8Card)) + "\r\n");
}

} // namespace quorvane
