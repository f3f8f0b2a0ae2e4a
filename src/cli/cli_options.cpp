#include <algorithm>
#include <utility>

#include "cli_context.h"

namespace quorvane::cli {
namespace {

// Short spellings of long options.
constexpr std::pair<std::string_view, std::string_view> kAliases[] = {
    {"-d", "--device"},
};

bool sameFlag(std::string_view word, std::string_view flag) {
    if (word == flag)
        return true;
    for (auto [shortName, longName] : kAliases) {
        if ((flag == shortName && word == longName) || (flag == longName && word == shortName))
            return true;
    }
    return false;
}

// "-5" is a negative number, not an option; "--" ends the options.
bool isOption(std::string_view word) {
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

} // namespace

bool hasFlag(const Args& args, std::string_view flag) {
    for (const auto& word : args) {
        if (word == "--")
            return false;
        if (sameFlag(word, flag))
            return true;
    }
    return false;
}

const std::string* flagValue(const Args& args, std::string_view flag) {
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (sameFlag(args[i], flag))
            return i + 1 < args.size() ? &args[i + 1] : nullptr;
    }
    return nullptr;
}

std::vector<std::string> flagValues(const Args& args, std::string_view flag) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i + 1 < args.size() && args[i] != "--"; ++i) {
        if (sameFlag(args[i], flag))
            values.push_back(args[++i]);
    }
    return values;
}

Args positionals(const Args& args, std::initializer_list<std::string_view> valueFlags) {
    Args words;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || !isOption(word)) {
            words.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        bool takesValue =
            std::any_of(valueFlags.begin(), valueFlags.end(),
                        [&word](std::string_view flag) { return sameFlag(word, flag); });
        if (takesValue)
            ++i;
    }
    return words;
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
