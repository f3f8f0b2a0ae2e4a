#pragma once
// The options each command declares. The runner reads a command's words against its
// declaration before the command runs: an unknown option, a value option given twice or
// without its value is a usage error, reported once with the command's usage.
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::cli {

using Args = std::vector<std::string>;

enum class Arity {
    Flag,     // present or not
    Value,    // one value, at most once
    Repeated, // one value each time it is given (`--to IP --to IP`)
};

struct DeclaredOption {
    constexpr DeclaredOption(std::string_view n, Arity a = Arity::Flag, std::string_view al = {})
        : name(n), arity(a), alias(al) {}
    std::string_view name; // "--device"
    Arity arity;
    std::string_view alias; // "-d", or empty
};

class ParsedArgs {
  public:
    bool has(std::string_view name) const;
    // The value of a Value option; null when not given.
    const std::string* value(std::string_view name) const;
    std::vector<std::string> values(std::string_view name) const;
    const Args& positionals() const { return positionals_; }

  private:
    friend std::optional<ParsedArgs> parseArgs(const Args&, std::span<const DeclaredOption>,
                                               std::ostream&);
    struct Given {
        std::string_view name;
        std::string value;
    };
    std::vector<Given> given_;
    Args positionals_;
};

// The words read against the declaration; nothing after printing the reason on err.
std::optional<ParsedArgs> parseArgs(const Args& words, std::span<const DeclaredOption> options,
                                    std::ostream& err);

} // namespace quorvane::cli
