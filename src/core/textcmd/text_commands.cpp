#include "textcmd/text_commands.h"

#include <algorithm>
#include <memory>
#include <random>

#include "platform/files.h"
#include "session/batch_summary.h"
#include "session/device_command.h"
#include "session/tool_session.h"
#include "textcmd/text_presets.h"

namespace quorvane {

namespace {
constexpr const char* kNoDevice = "请选择要操作的设备！";
constexpr const char* kNoRecord = "请选择要操作的记录！";

// The frame of text for device, or nothing when its address text names no address (the
// session has said so).
std::optional<ExchangeRequest> textRequest(ToolSession& session, const std::string& text,
                                           const DeviceUIInfo& device,
                                           const std::optional<SearchTarget>& broadcast) {
    session.setCurrentDevice(device);
    ExchangeRequest request;
    request.command = kTextCommand;
    request.payload = textCommandPayload(text);
    if (broadcast) {
        request.target =
            broadcastTarget(broadcast->destination, broadcast->multicast, device.getTargetId());
        request.route = kRouteUdp;
        return request;
    }
    auto target = session.prepareDevAddress(device.ip, &device);
    if (!target)
        return std::nullopt;
    request.target = *target;
    return request;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

TextRandom textRandom(const Clock& clock) {
    auto generator = std::make_shared<std::minstd_rand>(
        static_cast<std::minstd_rand::result_type>(clock.wallNow().time_since_epoch().count()));
    return [generator] { return static_cast<unsigned>((*generator)() % 32768u); };
}

int sendTextCmd(ToolSession& session, const std::string& text,
                const std::optional<DeviceUIInfo>& device,
                const std::optional<SearchTarget>& broadcast) {
    if (!device) {
        session.port().showMessage(kNoDevice);
        return -1;
    }
    auto request = textRequest(session, text, *device, broadcast);
    if (!request)
        return -1;
    return commandResult(session, session.exchange().run(*request, session.oneShotLimits()));
}

BatchResult runTextCommand(ToolSession& session, const TextRun& run, const TextRandom& random) {
    if (run.command.empty() || run.targets.empty())
        return {};
    const BatchStopwatch stopwatch(session.clock());
    std::optional<TextSequence> sequence = TextSequence::find(run.command);
    std::size_t cursor = 0;
    std::vector<std::size_t> sent; // item index → target index
    BatchPlan plan;
    plan.total = static_cast<long>(run.targets.size());
    // A run to addresses waits for each controller, the window's too, so that it ends with each
    // target's result; a broadcast run keeps its pace and counts its frames as sent.
    plan.limits = run.broadcast || session.oneShotLimits().wait > Clock::Duration::zero()
                      ? session.oneShotLimits()
                      : limits::kCommand;
    plan.finishInFlight = true;
    // Each controller's reply text is what the person reads of the run.
    plan.quietNotices = false;
    plan.next = [&](long item) -> std::optional<ExchangeRequest> {
        while (cursor < run.targets.size()) {
            if (run.broadcast && item > 0)
                session.clock().sleepFor(kBroadcastSpacing);
            const std::size_t t = cursor++;
            const DeviceUIInfo& target = run.targets[t];
            const std::string text = expandVariables(run.command, target.getTargetId(), sequence,
                                                     session.clock(), random);
            if (auto request = textRequest(session, text, target, run.broadcast)) {
                sent.push_back(t);
                return request;
            }
        }
        return std::nullopt;
    };
    BatchResult result = session.batchRunner().run(plan);

    BatchSummary summary;
    summary.operation = "文本指令";
    summary.total = plan.total;
    summary.cancelled = result.cancelled;
    std::vector<std::string> states(run.targets.size(), "未处理");
    for (std::size_t i = 0; i < sent.size(); ++i)
        states[sent[i]] = plan.limits.wait > Clock::Duration::zero() ? "成功" : "已发送";
    for (long i : result.refused)
        states[sent[static_cast<std::size_t>(i)]] = "失败";
    for (long i : result.givenUp)
        states[sent[static_cast<std::size_t>(i)]] = "无应答";
    // A target whose address names no address was passed over: it failed.
    for (std::size_t t = 0; t < cursor && t < run.targets.size(); ++t)
        if (std::find(sent.begin(), sent.end(), t) == sent.end())
            states[t] = "失败";
    // An item still in flight at a stop that got no reply is neither counted nor listed.
    if (result.lastItemUnsettled() && !sent.empty())
        states[sent.back()] = "未处理";
    for (std::size_t t = 0; t < run.targets.size(); ++t) {
        const std::string& state = states[t];
        if (state == "成功" || state == "已发送")
            ++summary.succeeded;
        else if (state == "失败")
            ++summary.failed;
        else if (state == "无应答")
            ++summary.unanswered;
        const DeviceUIInfo& target = run.targets[t];
        summary.itemLines.push_back((target.ip.empty() ? target.name : target.ip) + "：" + state);
    }
    summary.elapsed = stopwatch.elapsed();
    session.port().showMessage(batchSummaryText(summary));
    return result;
}

int sendTextPreset(ToolSession& session, const std::optional<DeviceUIInfo>& selected, int preset) {
    if (preset < 1 || preset > static_cast<int>(kTextPresets.size()))
        return -1;
    return sendTextCmd(session, kTextPresets[static_cast<std::size_t>(preset - 1)].text, selected);
}

std::optional<std::array<std::uint8_t, kFingerTemplateBytes>>
parseFingerTemplate(std::string_view fileText, const char** whyNot) {
    auto refuse = [whyNot](const char* text) {
        if (whyNot)
            *whyNot = text;
        return std::nullopt;
    };
    if (fileText.size() != kFingerTemplateChars)
        return refuse(kTemplateLengthText);
    std::array<std::uint8_t, kFingerTemplateBytes> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = hexDigit(fileText[2 * i]);
        const int low = hexDigit(fileText[2 * i + 1]);
        if (high < 0 || low < 0)
            return refuse(kTemplateDigitsText);
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return bytes;
}

int uploadFingerTemplate(ToolSession& session, const std::optional<DeviceUIInfo>& selected,
                         const std::string& fileBox) {
    if (!selected) {
        session.port().showMessage(kNoRecord);
        return -1;
    }
    session.setCurrentDevice(selected);
    std::string path = fileBox;
    if (path.empty()) {
        auto picked = session.port().pickOpenFile(kTemplateFilter);
        if (!picked)
            return 1;
        path = *picked;
    }
    // An unreadable file has no characters, and so the wrong number of them.
    const std::string text = platform::readWholeFile(path).value_or(std::string());
    const char* whyNot = nullptr;
    auto bytes = parseFingerTemplate(text, &whyNot);
    if (!bytes) {
        session.port().showMessage(whyNot);
        return -1;
    }
    return commandResult(session, sendDeviceCommand(session, *selected, kFingerTemplateCommand,
                                                    fingerTemplatePayload(*bytes)));
}

} // namespace quorvane
