#include "textcmd/command_files.h"

#include <algorithm>

#include "infra/codepage.h"
#include "infra/settings.h"
#include "infra/tool_log.h"
#include "platform/files.h"

namespace quorvane {

std::vector<std::string> commandLines(std::string_view gbkBytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= gbkBytes.size()) {
        std::size_t end = gbkBytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = gbkBytes.size();
        if (end > start)
            lines.push_back(fromGbk(gbkBytes.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> readCommandFile(const Settings& settings, const char* fileName) {
    auto bytes = platform::readWholeFile(settings.resolve(fileName));
    return bytes ? commandLines(*bytes) : std::vector<std::string>{};
}

std::vector<std::string> historyWith(const std::vector<std::string>& old,
                                     const std::string& command) {
    std::vector<std::string> lines;
    std::copy_if(old.begin(), old.end(), std::back_inserter(lines),
                 [&](const std::string& line) { return line != command; });
    lines.push_back(command);
    return lines;
}

bool rememberCommand(const Settings& settings, ToolLog* log, const std::string& command) {
    std::string text;
    for (const std::string& line :
         historyWith(readCommandFile(settings, kHistoryFileName), command)) {
        if (!text.empty())
            text += "\r\n";
        text += toGbk(line);
    }
    return writeTextFile(log, settings.resolve(kHistoryFileName), text);
}

} // namespace quorvane
