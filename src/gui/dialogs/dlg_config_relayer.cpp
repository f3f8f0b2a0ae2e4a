#include "dialogs/dlg_config_relayer.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane::gui {
namespace {

// An open time must stay below ten minutes.
constexpr std::uint32_t kOpenTimeLimitMs = 600000;

const char* const kHelp[] = {
    "开门时长指定继电器动作持续的时长，单位为千分之一秒。值必须小于600000，即600秒。",
    "继电器状态由默认状态优先指定，当默认状态指定为“自主控制”时，控制器通过门禁读头工作模式、"
    "刷卡情况自动控制继电器。",
    "默认状态在设备加电启动后立即生效，通常指定为自主控制，如果指定为一直闭合或者一直断开，"
    "则刷卡继电器将不动作。",
    "上报事件启用后继电器状态变化将向管理主机发送通知。",
    "时段状态指定某时段(2-8,0表示无效)的继电器状态，不在此时段内时为自主控制",
};

// "时段状态" shows the time-zone number 0..8; a stored k means zone k + 1, and zone 1 (which
// forbids passage at any time) has no relay state of its own, so it is stored like 0.
ChoiceMap zoneNumbers() {
    return {[](std::uint32_t stored) { return stored == 0 ? 0 : static_cast<int>(stored) + 1; },
            [](int number) { return number == 0 ? 0u : static_cast<std::uint32_t>(number - 1); }};
}

// The relay entry keeps one report bit: "上报并等待确认" (2) goes in as its lowest bit.
ChoiceMap reportChoices() {
    return {[](std::uint32_t bit) { return static_cast<int>(bit); },
            [](int item) { return static_cast<std::uint32_t>(item) & 1u; }};
}

} // namespace

CDlgConfigRelayer::CDlgConfigRelayer(MutableBytes doorBlock, QWidget* parent)
    : CDlgConfigPart(doorBlock, QString::fromUtf8("继电器配置"), parent) {
    setObjectName("CDlgConfigRelayer");
    auto* layout = new QVBoxLayout(this);
    std::vector<std::string> zones;
    for (int n = 0; n <= 8; ++n)
        zones.push_back(std::to_string(n));
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        auto* group = new QGroupBox(QString::fromUtf8("继电器%1").arg(n));
        auto* grid = new QGridLayout(group);
        auto* state = listBox("state" + n, enumTexts("relayerstate"));
        auto* report = listBox("report" + n, enumTexts("needrpt"));
        auto* fire = listBox("fire" + n, std::vector<std::string>{"否", "是"});
        auto* zone = listBox("zone" + n, zones);
        auto* zoneState = listBox("zoneState" + n, enumTexts("relayerstate"));
        auto* openTime = numberEdit("openTime" + n);
        openTimes_[i] = openTime;
        grid->addWidget(new QLabel(QString::fromUtf8("默认状态：")), 0, 0);
        grid->addWidget(state, 0, 1);
        grid->addWidget(new QLabel(QString::fromUtf8("上报：")), 0, 2);
        grid->addWidget(report, 0, 3);
        grid->addWidget(new QLabel(QString::fromUtf8("消防联动：")), 0, 4);
        grid->addWidget(fire, 0, 5);
        grid->addWidget(new QLabel(QString::fromUtf8("时段状态：")), 1, 0);
        grid->addWidget(zone, 1, 1);
        grid->addWidget(zoneState, 1, 2, 1, 2);
        grid->addWidget(new QLabel(QString::fromUtf8("开门时长：")), 1, 4);
        grid->addWidget(openTime, 1, 5);
        layout->addWidget(group);

        FieldBindings& b = bindings();
        b.choice(state, configField("relay.state"), i);
        b.choice(report, configField("relay.report"), i, reportChoices());
        b.choice(fire, configField("relay.fire"), i);
        b.choice(zone, configField("relay.zone"), i, zoneNumbers());
        b.choice(zoneState, configField("relay.zoneState"), i);
        b.number(openTime, configField("relay.openTime"), i, QString::fromUtf8("开门时长"));
    }
    for (const char* text : kHelp)
        layout->addWidget(helpText(text));
    layout->addWidget(okCancelButtons(this));
    bindings().load();
}

// Only a time the person typed is refused: a relay nobody touched keeps what the controller
// holds, whatever it is, and must not block the other changes.
std::optional<BindingProblem> CDlgConfigRelayer::check() {
    const ConfigField& openTime = configField("relay.openTime");
    for (int i = 0; i < 4; ++i) {
        if (!openTimes_[i]->isModified())
            continue;
        auto stored = std::uint64_t{readNumber(openTime, bytes(), i)} * openTime.scale;
        if (stored >= kOpenTimeLimitMs)
            return BindingProblem{
                openTimes_[i],
                QString::fromUtf8("继电器%1的开门时长必须小于600000（千分之一秒），即600秒！")
                    .arg(i + 1)};
    }
    return std::nullopt;
}

} // namespace quorvane::gui
