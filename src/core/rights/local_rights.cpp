#include "rights/local_rights.h"

#include "infra/codepage.h"
#include "infra/tool_log.h"
#include "platform/files.h"
#include "rights/right_builder.h"
#include "rights/right_image.h"
#include "session/tool_session.h"

namespace quorvane {

namespace {

// "打开文件失败！" with the file it could not read, so the person knows where it was looked for.
std::string openFailedText(const std::string& path) {
    return "打开文件失败！文件名=" + path;
}

// The numbers of the template or whitelist, written one a line to "tmp.txt"; its path, or
// nothing when the source file cannot be read.
std::optional<std::string> takeNumbers(ToolSession& session, LocalRightSource source) {
    const std::string path = localRightSourcePath(session, source);
    auto text = platform::readWholeFile(path);
    if (!text) {
        // Said also when the numbers are only taken into the dialog: silence there left the
        // person with an empty field and no reason.
        session.port().showMessage(openFailedText(path));
        return std::nullopt;
    }
    auto numbers =
        source == LocalRightSource::Template ? templateNumbers(*text) : whitelistNumbers(*text);
    std::string out;
    for (const auto& n : numbers)
        out += n + "\r\n";
    std::string taken = session.settings().resolve(kTakenNumbersFile);
    writeTextFile(&session.log(), taken, out);
    return taken;
}

// The right of one number: like an add, but without name and flags beyond bit 0.
xRight localRight(const CardClassification& card, const RightFields& fields,
                  const RightSettings& settings) {
    RightSettings plain = settings;
    plain.siteCode = 0;
    RightFields bare;
    bare.validFrom = fields.validFrom;
    bare.validTo = fields.validTo;
    bare.timeZones = fields.timeZones;
    bare.readers = fields.readers;
    bare.times = fields.times;
    xRight r = buildRight(card, bare, plain);
    r.flags = card.longNumber ? kFlagLongNumber : 0;
    return r;
}

} // namespace

std::string localRightSourcePath(ToolSession& session, LocalRightSource source) {
    switch (source) {
    case LocalRightSource::Template:
        return platform::environment("HOME") + "/template.txt";
    case LocalRightSource::Whitelist:
        return session.settings().resolve("白名单.txt");
    case LocalRightSource::Ids:
        return session.settings().resolve("ids.txt");
    case LocalRightSource::UserFile:
        break;
    }
    return {};
}

int loadLocalRights(ToolSession& session, LocalRightSource source, const RightFields& fields,
                    const LocalRightsOptions& options) {
    UserPort& port = session.port();
    std::string numberFile;
    switch (source) {
    case LocalRightSource::Template:
    case LocalRightSource::Whitelist: {
        auto taken = takeNumbers(session, source);
        if (!taken)
            return -1;
        numberFile = *taken;
        break;
    }
    case LocalRightSource::Ids:
        numberFile = localRightSourcePath(session, source);
        break;
    case LocalRightSource::UserFile: {
        auto picked = port.pickOpenFile("Text Files(*.txt)|*.txt|All Files(*.*)|*.*||");
        if (!picked) {
            port.showMessage("请选择文件！");
            return -1;
        }
        numberFile = *picked;
        break;
    }
    }
    auto text = platform::readWholeFile(numberFile);
    if (!text) {
        port.showMessage(openFailedText(numberFile));
        return -1;
    }
    const auto numbers = numberFileNumbers(*text);
    const int count = static_cast<int>(numbers.size());
    if (options.ask &&
        !port.askYesNo("已经成功加载所有卡号，数量=" + std::to_string(count) +
                       "，要批量同步卡权限到控制器吗？【注意：此操作将清除控制器上原有权限并以新"
                       "的权限替代】"))
        return -2;

    const RightSettings settings = readRightSettings(session.settings());
    bool first = true;
    for (const auto& number : numbers) {
        if (options.cards)
            options.cards->insert(fromGbk(number));
        if (!options.image)
            continue;
        auto card = classifyCard(number, CardSource::NumberField, settings.cards);
        if (auto* c = std::get_if<CardClassification>(&card)) {
            options.image->appendRight(localRight(*c, fields, settings), first);
            first = false;
        }
    }
    if (options.ask && options.image)
        port.showMessage(options.image->rightsSummary(count));
    return count;
}

} // namespace quorvane
