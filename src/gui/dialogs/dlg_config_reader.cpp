#include "dialogs/dlg_config_reader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane::gui {
namespace {

const char* const kHelp[] = {
    "本页面用于配置读头，主要有刷此读头对应的通行方向，验证通过后需要启动的继电器（门），"
    "以及是否上报读取到的卡号到电脑。",
    "可以配置每个读头在每天某个时段的工作模式，在不同工作模式下，对刷卡有不同的处理方式。"
    "结束时间小于开始时间表示跨天。",
    "从模式1到模式3依次判断，每天时间以及每周星期必须同时满足，设备才工作在对应的模式下。",
};

constexpr int kRelayCount = 36;

} // namespace

CDlgConfigReader::CDlgConfigReader(MutableBytes setting, const QString& title, QWidget* parent)
    : CDlgConfigPart(setting, title, parent) {
    setObjectName("CDlgConfigReader");
    // 0 (no relay) is a value a controller holds, shown as such rather than as an empty list.
    std::vector<std::string> relays;
    for (int n = 0; n <= kRelayCount; ++n)
        relays.push_back(std::to_string(n));
    auto* direction = listBox("direction", enumTexts("dir"));
    auto* relay = listBox("relay", relays);
    auto* report = listBox("report", enumTexts("needrpt"));
    auto* format = listBox("cardFormat", readerCardFormatNames());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(helpText(kHelp[0]));
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QString::fromUtf8("方向：")), 0, 0);
    top->addWidget(direction, 0, 1);
    top->addWidget(new QLabel(QString::fromUtf8("对应继电器：")), 0, 2);
    top->addWidget(relay, 0, 3);
    top->addWidget(new QLabel(QString::fromUtf8("是否上报事件：")), 1, 0);
    top->addWidget(report, 1, 1);
    top->addWidget(new QLabel(QString::fromUtf8("韦根格式：")), 1, 2);
    top->addWidget(format, 1, 3);
    layout->addLayout(top);

    FieldBindings& b = bindings();
    b.choice(direction, configField("reader.direction"));
    b.choice(relay, configField("reader.relay"));
    b.choice(report, configField("reader.report"));
    b.choice(format, configField("reader.wgFormat"));

    layout->addWidget(helpText(kHelp[1]));
    for (int k = 0; k < 3; ++k) {
        const QString n = QString::number(k + 1);
        auto* slot = new QGroupBox;
        auto* grid = new QGridLayout(slot);
        auto* mode = listBox("mode" + n, enumTexts("mode"));
        auto* special = listBox("special" + n, enumTexts("specialmode"));
        auto* start = new QTimeEdit;
        start->setObjectName("start" + n);
        auto* end = new QTimeEdit;
        end->setObjectName("end" + n);
        grid->addWidget(new QLabel(QString::fromUtf8("工作模式%1：").arg(n)), 0, 0);
        grid->addWidget(mode, 0, 1, 1, 3);
        grid->addWidget(new QLabel(QString::fromUtf8("专用模式：")), 0, 4);
        grid->addWidget(special, 0, 5, 1, 3);
        grid->addWidget(new QLabel(QString::fromUtf8("起始时间%1：").arg(n)), 1, 0);
        grid->addWidget(start, 1, 1, 1, 3);
        grid->addWidget(new QLabel(QString::fromUtf8("结束时间%1：").arg(n)), 1, 4);
        grid->addWidget(end, 1, 5, 1, 3);
        auto days = weekdayBoxes("slot" + n, grid, 2, 1);
        layout->addWidget(slot);

        b.choice(mode, configField("reader.slot.mode"), k);
        b.choice(special, configField("reader.slot.specialMode"), k);
        b.time(start, configField("reader.slot.start"), k);
        b.time(end, configField("reader.slot.end"), k);
        b.weekdays(days, configField("reader.slot.weekdays"), k);
    }
    layout->addWidget(helpText(kHelp[2]));
    layout->addWidget(okCancelButtons(this));
    b.load();
}

} // namespace quorvane::gui
