#include "rights/right_text.h"

#include <array>
#include <cstdio>
#include <optional>

#include "infra/codepage.h"
#include "model/packed_time.h"

namespace quorvane {
namespace {

// Field limit of the scan buffers (128 bytes with the terminating zero).
constexpr std::size_t kFieldLimit = 127;

std::string validityText(std::uint16_t date, std::uint16_t time) {
    return packedDateTimeText(date, time);
}

// Matches the text form piece by piece. Each field runs to the next ';' and may be empty
// (an empty name must not lose the fields after it); the label field runs to '='.
class LineScanner {
  public:
    explicit LineScanner(std::string_view s) : s_(s) {}

    bool literal(std::string_view lit) {
        if (s_.substr(pos_, lit.size()) != lit)
            return false;
        pos_ += lit.size();
        return true;
    }
    std::optional<std::string_view> upTo(char stop) {
        auto end = s_.find(stop, pos_);
        if (end == std::string_view::npos)
            return std::nullopt;
        auto v = s_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return v;
    }
    // "label=" then a field and its ';'.
    std::optional<std::string_view> field(std::string_view label) {
        if (!literal(label) || !literal("="))
            return std::nullopt;
        return upTo(';');
    }

  private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

// The GBK form of a field, cut to the scan limit.
std::string gbkField(std::string_view utf8) {
    return gbkCutBytes(toGbk(utf8), kFieldLimit);
}

// "%d": leading blanks, sign, digits; no digits reads as 0.
long long readNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        v = (v * 10 + (s[i] - '0')) & 0xFFFFFFFF;
    return negative ? -v : v;
}

// "%d-%d-%d %d:%d:%d" with the parts not present read as 0.
void readValidity(std::string_view s, std::uint16_t& date, std::uint16_t& time) {
    std::string text = gbkField(s);
    int v[6] = {0, 0, 0, 0, 0, 0};
    std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    date = packDate(v[0], v[1], v[2]);
    time = packTime(v[3], v[4], v[5]);
}

unsigned locationCode(std::string_view s) {
    if (s == "外部")
        return 1;
    if (s == "内部")
        return 2;
    if (s == "机密区")
        return 3;
    return 0;
}

bool allZeros(const std::string& s) {
    for (char c : s)
        if (c != '0')
            return false;
    return true;
}

} // namespace

std::string_view locationText(unsigned location) {
    static constexpr std::string_view kNames[4] = {"未知", "外部", "内部", "机密区"};
    return kNames[location & 3];
}

std::string formatRightText(const xRight& r, std::uint32_t sequence,
                            const RightTextOptions& options, bool emptyIfZero) {
    std::string card = formatCardNumber(r, options.threeByte);
    if (emptyIfZero && allZeros(card))
        return {};
    char head[32];
    std::snprintf(head, sizeof head, "%010u", sequence);
    std::string out = "【序号=";
    out += head;
    out += ";卡号=" + card;
    if (options.rightMode == 1) {
        out += ";名称=" + r.nameText();
    } else {
        out += ";生效时间=" + validityText(r.validFromDate, r.validFromTime);
        out += ";失效时间=" + validityText(r.validToDate, r.validToTime);
    }
    auto num = [&](std::string_view label, long long v) {
        out += ';';
        out += label;
        out += '=';
        out += std::to_string(v);
    };
    num("时段", r.timeZone);
    num("读头", r.readerMask);
    num("次数余额", r.remainingCount);
    out += ";位置=";
    out += locationText(r.location());
    num("类型", r.type());
    num("反潜回", r.flag(kFlagAntiPassback));
    num("包裹", r.flag(kFlagParcel));
    num("欠费", r.flag(kFlagArrears));
    num("用户标志1", r.flag(kFlagUser1));
    num("用户标志2", r.flag(kFlagUser2));
    num("用户标志3", r.flag(kFlagUser3));
    out += ";】";
    return out;
}

std::string formatRightReply(Bytes bytes, bool hasSequence, const RightTextOptions& options,
                             bool emptyIfZero) {
    ByteReader in(bytes);
    std::uint32_t sequence = hasSequence ? in.u32le() : 0;
    if (!in.ok())
        return {};
    auto r = decodeRight(bytes.subspan(in.pos()), options.rightMode);
    if (!r)
        return {};
    return formatRightText(*r, sequence, options, emptyIfZero);
}

std::optional<std::string> rightLineCardText(std::string_view line) {
    LineScanner scan(line);
    if (!scan.literal("【序号=") || !scan.upTo(';') || !scan.upTo('='))
        return std::nullopt;
    auto card = scan.upTo(';');
    if (!card)
        return std::nullopt;
    return fromGbk(gbkField(*card));
}

std::string invalidRightLineMessage(std::string_view line) {
    return "权限格式错误：" + std::string(line);
}

std::variant<xRight, std::string>
parseRightText(std::string_view line, const RightTextOptions& options, std::uint32_t code) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    LineScanner scan(line);
    auto bad = [&] { return invalidRightLineMessage(line); };

    if (!scan.literal("【序号=") || !scan.upTo(';'))
        return bad();
    auto label = scan.upTo('=');
    auto cardText = scan.upTo(';');
    if (!label || !cardText)
        return bad();

    xRight r;
    if (options.rightMode == 1) {
        auto name = scan.field("名称");
        if (!name)
            return bad();
        r.setNameText(fromGbk(gbkField(*name)));
    } else {
        auto from = scan.field("生效时间");
        auto to = from ? scan.field("失效时间") : std::nullopt;
        if (!to)
            return bad();
        readValidity(*from, r.validFromDate, r.validFromTime);
        readValidity(*to, r.validToDate, r.validToTime);
    }

    static constexpr std::array<std::string_view, 11> kLabels = {
        "时段", "读头", "次数余额",  "位置",      "类型",     "反潜回",
        "包裹", "欠费", "用户标志1", "用户标志2", "用户标志3"};
    std::array<std::string, kLabels.size()> values;
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        auto v = scan.field(kLabels[i]);
        if (!v)
            return bad();
        values[i] = gbkField(*v);
    }
    r.timeZone = static_cast<std::uint8_t>(readNumber(values[0]));
    r.readerMask = static_cast<std::uint8_t>(readNumber(values[1]));
    r.remainingCount = static_cast<std::uint16_t>(readNumber(values[2]));
    r.setLocation(locationCode(fromGbk(values[3])));
    r.setType(static_cast<unsigned>(readNumber(values[4])));
    r.setFlag(kFlagAntiPassback, readNumber(values[5]) != 0);
    r.setFlag(kFlagParcel, readNumber(values[6]) != 0);
    r.setFlag(kFlagArrears, readNumber(values[7]) != 0);
    r.setFlag(kFlagUser1, readNumber(values[8]) != 0);
    r.setFlag(kFlagUser2, readNumber(values[9]) != 0);
    r.setFlag(kFlagUser3, readNumber(values[10]) != 0);

    CardOptions cardOptions;
    cardOptions.threeByte = options.threeByte;
    auto gbkCard = toGbkStrict(*cardText);
    if (!gbkCard)
        return invalidCardMessage(*cardText);
    auto card =
        classifyCard(gbkCutBytes(*gbkCard, kFieldLimit), CardSource::RightLine, cardOptions);
    if (auto* error = std::get_if<std::string>(&card))
        return *error;
    applyCard(r, std::get<CardClassification>(card));
    applySiteCode(r, code);
    return r;
}

} // namespace quorvane
