#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "cli_context.h"

namespace quorvane::cli {

bool numberOption(CliContext& ctx, std::string_view name, long lo, long hi, long& out) {
    const std::string* text = ctx.args.value(name);
    if (!text)
        return true;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != 0 || errno == ERANGE || v < lo || v > hi) {
        *ctx.err << "option " << name << " takes a number from " << lo << " to " << hi << ", not "
                 << *text << "\n";
        return false;
    }
    out = v;
    return true;
}

std::string callerPath(const CliContext& ctx, const std::string& name) {
    if (name.empty() || name[0] == '/' || ctx.callerDir.empty())
        return name;
    std::string path = ctx.callerDir;
    if (path.back() != '/')
        path.push_back('/');
    return path + name;
}

} // namespace quorvane::cli
