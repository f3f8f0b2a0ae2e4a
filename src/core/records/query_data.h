#pragma once
// "查询数据": with save-type on, the companion query program ("查询工具" in the program
// directory) starts with a token that changes every hour; with it off the data folder opens.
#include <chrono>
#include <string>

namespace quorvane {

class ToolSession;

// MD5 of the fixed key followed by the whole hours since 1970-01-01 00:00 UTC, in decimal.
std::string queryToken(std::chrono::system_clock::time_point now);

// OnBnClickedQueryRec; saveType is save-type as read once per run. Nothing happens when the
// query program is missing.
void queryData(ToolSession& session, int saveType);

} // namespace quorvane
