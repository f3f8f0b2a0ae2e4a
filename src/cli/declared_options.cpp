#include "declared_options.h"

#include <algorithm>
#include <ostream>

namespace quorvane::cli {

namespace {
// "-5" is a negative number, not an option.
bool looksLikeOption(std::string_view word) {
    return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}
} // namespace

bool ParsedArgs::has(std::string_view name) const {
    return std::any_of(given_.begin(), given_.end(),
                       [name](const Given& g) { return g.name == name; });
}

const std::string* ParsedArgs::value(std::string_view name) const {
    for (const auto& g : given_)
        if (g.name == name)
            return &g.value;
    return nullptr;
}

std::vector<std::string> ParsedArgs::values(std::string_view name) const {
    std::vector<std::string> out;
    for (const auto& g : given_)
        if (g.name == name)
            out.push_back(g.value);
    return out;
}

std::optional<ParsedArgs> parseArgs(const Args& words, std::span<const DeclaredOption> options,
                                    std::ostream& err) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || !looksLikeOption(word)) {
            parsed.positionals_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        auto known = std::find_if(options.begin(), options.end(), [&word](const DeclaredOption& o) {
            return word == o.name || (!o.alias.empty() && word == o.alias);
        });
        if (known == options.end()) {
            err << "unknown option: " << word << "\n";
            return std::nullopt;
        }
        if (known->arity == Arity::Flag) {
            if (!parsed.has(known->name))
                parsed.given_.push_back({known->name, {}});
            continue;
        }
        if (i + 1 >= words.size()) {
            err << "option " << word << " needs a value\n";
            return std::nullopt;
        }
        if (known->arity == Arity::Value && parsed.has(known->name)) {
            err << "option " << known->name << " given more than once\n";
            return std::nullopt;
        }
        parsed.given_.push_back({known->name, words[++i]});
    }
    return parsed;
}

} // namespace quorvane::cli
