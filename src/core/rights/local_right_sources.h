#pragma once
// Card numbers from local files in the layouts sites keep them: a formatted export whose 16th
// column holds the number ("template.txt" in the user's home directory), a whitelist of
// "number=…;" lines ("白名单.txt" in the program directory), and plain number files, one
// number per line ("ids.txt", or a file the person picks). Text is GBK bytes here.
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

enum class LocalRightSource {
    Template,  // "从带格式文件…template.txt提取卡号" (the file in the home directory)
    Whitelist, // "从软件目录中的带格式文件 白名单.txt 提取卡号"
    Ids,       // "从软件目录ids.txt提取卡号（每行一个卡号）"
    UserFile,  // "用户指定卡号文件（每行一个卡号）"
};

// The choices of the dialog "选择数据来源", in LocalRightSource order; the first names the
// template file where it is really read (templatePath).
std::vector<std::string> localRightSourceNames(const std::string& templatePath);

// Each line split at any of CR, LF, TAB and '|' (empty pieces dropped); a line of more than 15
// pieces gives its 16th.
std::vector<std::string> templateNumbers(std::string_view gbkText);

// Each line split at '=' and ';' (empty pieces dropped); a line with a piece gives its first,
// trimmed of any of "=\t\r\n ;:|" (nothing when that leaves it empty).
std::vector<std::string> whitelistNumbers(std::string_view gbkText);

// The file split at CR and LF, each piece trimmed of blanks and tabs, empty ones dropped.
std::vector<std::string> numberFileNumbers(std::string_view gbkText);

} // namespace quorvane
