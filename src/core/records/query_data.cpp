#include "records/query_data.h"

#include "infra/md5.h"
#include "platform/files.h"
#include "platform/process.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {
constexpr const char* kQueryKey = "5C1E9A47-2B3D-4F60-8E71-0A9D3C4B2F18";
constexpr const char* kQueryProgram = "查询工具";
} // namespace

std::string queryToken(std::chrono::system_clock::time_point now) {
    const long long seconds =
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    return md5Hex(std::string(kQueryKey) + std::to_string(seconds / 3600));
}

void queryData(ToolSession& session, int saveType) {
    const std::string& dir = session.programDir();
    if (saveType != 0) {
        const std::string program = dir + "/" + kQueryProgram;
        if (platform::fileExists(program))
            platform::runProgram({}, program, queryToken(session.clock().wallNow()), false, true);
        return;
    }
    const std::string data = dir + "/data";
    platform::makeDirectories(data);
    session.port().openDocument(data, false);
}

} // namespace quorvane
