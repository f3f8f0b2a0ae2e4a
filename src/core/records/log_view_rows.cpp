#include "records/log_view_rows.h"

namespace quorvane {

const std::array<ViewerColumn, kViewerColumnCount> kViewerColumns = {{
    {"序号", 50}, {"时间", 120},      {"类型", 80},      {"分类", 160},    {"卡号", 140},
    {"门号", 40}, {"读头", 40},       {"方向", 40},      {"结果", 80},     {"脱机", 40},
    {"上报", 40}, {"指令/信息", 120}, {"姓名", 80},      {"民族", 40},     {"性别", 40},
    {"生日", 80}, {"地址", 150},      {"发证机关", 120}, {"生效时间", 80}, {"失效时间", 80},
}};

namespace {
constexpr std::size_t kTypeColumn = 2;

ViewerIdentity identityOf(const RecordFieldMap& fields, const ViewerRowContext& context) {
    const std::string card(fields.get("card"));
    if (card.empty() || !context.identities)
        return {};
    return context.identities(card).value_or(ViewerIdentity{});
}
} // namespace

bool cardOrRemoteOpen(const RecordFieldMap& fields) {
    return (fields.get("type") == "刷卡记录" && fields.get("subtype") == "正常记录") ||
           (fields.get("type") == "操作日志" && fields.get("subtype") == "远程操作");
}

std::array<std::string, kViewerColumnCount> viewerRow(const LogRecord& record, std::uint32_t index,
                                                      const ViewerRowContext& context) {
    RecordFieldMap f;
    decodeRecord(&f, record, index + 1, context.decode);
    std::array<std::string, kViewerColumnCount> row;
    row[0] = std::to_string(std::uint64_t(index) + 1);
    row[1] = f.get("time");
    if (context.cardOnly && !cardOrRemoteOpen(f)) {
        row[kTypeColumn] = "非刷卡日志";
        for (std::size_t c = kTypeColumn + 1; c < row.size(); ++c)
            row[c] = "-";
        return row;
    }
    const ViewerIdentity id = identityOf(f, context);
    const bool reported = std::uint64_t(context.reportIndex) > std::uint64_t(index) + 1;
    row = {row[0],
           row[1],
           std::string(f.get("type")),
           std::string(f.get("subtype")),
           std::string(f.get("card")),
           std::string(f.get("door")),
           std::string(f.get("reader")),
           std::string(f.get("dir")),
           std::string(f.get("result")),
           std::string(f.get("offline")),
           reported ? "是" : "否",
           std::string(f.get("data")),
           id.name,
           id.nation,
           id.sex,
           id.birth,
           id.address,
           id.authority,
           id.validFrom,
           id.validTo};
    return row;
}

std::string viewerDetailText(const LogRecord& record, const ViewerRowContext& context) {
    RecordFieldMap f;
    decodeRecord(&f, record, 0, context.decode);
    const ViewerIdentity id = identityOf(f, context);
    auto field = [&f](const char* key) { return std::string(f.get(key)); };
    const std::string card = field("card");
    return "类型：" + field("type") + "  分类：" + field("subtype") + "  脱机：" +
           field("offline") + "  数据：" + field("data") + "\r\n" + "门号：" + field("door") +
           "  读头：" + field("reader") + "  方向：" + field("dir") + "  控制器结果：" +
           field("result") + "\r\n" + "时间：" + field("time") + "\r\n" + "姓名：" + id.name +
           "  性别：" + id.sex + "  民族：" + id.nation + "  生日：" + id.birth + "\r\n" +
           "地址：" + id.address + "\r\n" + "号码：" + card + (card.empty() ? "" : " ") +
           field("data") + "\r\n" + "发证机关：" + id.authority + "\r\n" + "生效时间：" +
           id.validFrom + " 到 " + id.validTo + "\r\n";
}

} // namespace quorvane
