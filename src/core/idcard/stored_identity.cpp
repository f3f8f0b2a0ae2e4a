#include "idcard/stored_identity.h"

#include "infra/codepage.h"
#include "platform/files.h"

namespace quorvane {

const std::string& StoredIdentity::field(std::size_t i) const {
    static const std::string kEmpty;
    return i < fields.size() ? fields[i] : kEmpty;
}

std::optional<StoredIdentity> parseStoredIdentity(std::string_view gbkText) {
    std::string_view line = gbkText.substr(0, gbkText.find_first_of("\r\n"));
    StoredIdentity s;
    for (std::size_t start = 0;;) {
        std::size_t tab = line.find('\t', start);
        s.fields.push_back(fromGbk(line.substr(start, tab - start)));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    if (s.number().empty())
        return std::nullopt;
    return s;
}

std::optional<std::string> storedIdentityPath(const std::string& programDir,
                                              std::string_view number) {
    if (number.empty())
        return std::nullopt;
    for (char c : number) {
        bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!ok)
            return std::nullopt;
    }
    return programDir + "/xml/" + std::string(number) + ".txt";
}

std::optional<StoredIdentity> lookupStoredIdentity(const std::string& programDir,
                                                   std::string_view number) {
    auto path = storedIdentityPath(programDir, number);
    if (!path)
        return std::nullopt;
    auto text = platform::readWholeFile(*path);
    if (!text)
        return std::nullopt;
    return parseStoredIdentity(*text);
}

IdentityLookup viewerIdentities(const std::string& programDir) {
    return [programDir](const std::string& card) -> std::optional<ViewerIdentity> {
        auto s = lookupStoredIdentity(programDir, card);
        if (!s)
            return std::nullopt;
        return ViewerIdentity{s->name(),    s->nation(),    s->sex(),       s->birth(),
                              s->address(), s->authority(), s->validFrom(), s->validTo()};
    };
}

} // namespace quorvane
