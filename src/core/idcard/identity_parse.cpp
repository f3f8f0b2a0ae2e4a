#include "idcard/country_table.h"
#include "idcard/identity_info.h"
#include "infra/codepage.h"

namespace quorvane {
namespace {

// Largest text each IdentityInfo field keeps (its buffer less the terminating zero).
constexpr std::size_t kNameMax = 31;
constexpr std::size_t kAddressMax = 71;
constexpr std::size_t kAuthorityMax = 31;
constexpr std::size_t kKindTextMax = 71;

bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Bytes of gbk from pos: up to the first space or limit bytes, never splitting a character.
std::string copyUntilSpace(std::string_view gbk, std::size_t limit) {
    std::size_t i = 0;
    while (i < gbk.size() && gbk[i] != ' ') {
        std::size_t width = isLeadByte(gbk[i]) && i + 1 < gbk.size() ? 2 : 1;
        if (i + width > limit) break;
        i += width;
    }
    return std::string(gbk.substr(0, i));
}

std::string withKind(std::string_view kind, const std::string& extra) {
    std::string gbk = toGbk(kind) + "$" + toGbk(extra);
    return fromGbk(gbkCutBytes(gbk, kKindTextMax));
}

class TypedFields {
public:
    TypedFields(Bytes block, const LogSink& log) : block_(block), log_(log) {}

    // The field at a byte offset of the block, converted, to its first space or limit.
    std::string at(std::size_t offset, std::size_t limit) const {
        return fromGbk(copyUntilSpace(UNICODE2LOCAL(block_.subspan(offset), log_), limit));
    }

private:
    Bytes block_;
    const LogSink& log_;
};

std::string sexText(const std::string& code) { return code == "1" ? "男" : "女"; }

// Reads the converted block field after field: a field ends at its limit or where a
// non-space follows spaces; leading spaces are skipped and spaces dropped.
class SpacedFields {
public:
    explicit SpacedFields(std::string gbk) : s_(std::move(gbk)) {}

    std::string next(std::size_t limit) {
        while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
        // The field's characters are contiguous; the spaces that end it are skipped after.
        const std::size_t first = pos_;
        while (pos_ < s_.size() && s_[pos_] != ' ') {
            std::size_t width = isLeadByte(s_[pos_]) && pos_ + 1 < s_.size() ? 2 : 1;
            if (pos_ - first + width > limit) break;
            pos_ += width;
        }
        std::string_view field = std::string_view(s_).substr(first, pos_ - first);
        while (pos_ < s_.size() && s_[pos_] == ' ') ++pos_;
        return fromGbk(field);
    }
    std::string rest() {
        std::string_view r = std::string_view(s_).substr(std::min(pos_, s_.size()));
        while (!r.empty() && r.front() == ' ') r.remove_prefix(1);
        while (!r.empty() && r.back() == ' ') r.remove_suffix(1);
        return std::string(r);
    }

private:
    std::string s_;
    std::size_t pos_ = 0;
};

bool complete(const IdentityInfo& info) { return !info.name.empty() && !info.number.empty(); }

} // namespace

IdentityDocument identityDocumentType(Bytes block) {
    if (block.size() >= 250 && block[249] == 0) {
        if (block[248] == 'J') return IdentityDocument::ResidencePermit;
        if (block[248] == 'I') return IdentityDocument::PermanentResidence;
    }
    return IdentityDocument::ResidentCard;
}

std::optional<IdentityInfo> parseIdentityTyped(Bytes block, const LogSink& log) {
    if (block.size() < kIdentityTextBlockSize) return std::nullopt;
    block = block.first(kIdentityTextBlockSize);
    TypedFields f(block, log);
    IdentityInfo info;
    const auto type = identityDocumentType(block);
    if (type == IdentityDocument::PermanentResidence) {
        std::string english = f.at(0, 60);
        info.sex = sexText(f.at(120, 1));
        info.number = f.at(122, 15);
        info.nation = std::string(countryName(f.at(152, 3)));
        info.name = f.at(158, 15);
        info.validFrom = f.at(188, 8);
        info.validTo = f.at(204, 8);
        info.birth = f.at(220, 8);
        info.kindText = withKind("永居证", english);
    } else {
        const bool permit = type == IdentityDocument::ResidencePermit;
        info.name = f.at(0, 30);
        info.sex = sexText(f.at(30, 1));
        info.nation = permit ? std::string() : std::string(nationName(f.at(32, 2)));
        info.birth = f.at(36, 8);
        info.address = f.at(52, 70);
        info.number = f.at(122, 18);
        info.authority = f.at(158, 30);
        info.validFrom = f.at(188, 8);
        info.validTo = f.at(204, 8);
        info.kindText = withKind(permit ? "港澳台居住证" : "身份证", f.at(220, permit ? 9 : 72));
    }
    if (!complete(info)) return std::nullopt;
    return info;
}

std::optional<IdentityInfo> parseIdentitySpaced(Bytes block, const LogSink& log) {
    if (block.size() < kIdentityTextBlockSize) return std::nullopt;
    SpacedFields f(UNICODE2LOCAL(block.first(kIdentityTextBlockSize), log));
    IdentityInfo info;
    info.name = f.next(kNameMax);
    info.sex = sexText(f.next(1));
    info.nation = std::string(nationName(f.next(2)));
    info.birth = f.next(8);
    info.address = f.next(kAddressMax);
    info.number = f.next(18);
    info.authority = f.next(kAuthorityMax);
    info.validFrom = f.next(8);
    info.validTo = f.next(8);
    info.kindText = fromGbk(gbkCutBytes(f.rest(), kKindTextMax));
    if (!complete(info)) return std::nullopt;
    return info;
}

std::optional<IdentityInfo> parse2ndMsg(Bytes block, int attempt, int parseVersion,
                                        const LogSink& log) {
    for (;; ++attempt) {
        auto info = parseVersion != 0 && attempt != 2 ? parseIdentityTyped(block, log)
                                                      : parseIdentitySpaced(block, log);
        if (info || attempt >= 3) return info;
    }
}

std::string identityDebugText(const IdentityInfo& i) {
    return i.name + ' ' + i.sex + ' ' + i.nation + ' ' + i.birth + ' ' + i.number + ' ' +
           i.address + ' ' + i.authority + ' ' + i.validFrom + ' ' + i.validTo + ' ' +
           i.kindText + '\n';
}

} // namespace quorvane
