#include "dialogs/dlg_config_timezone.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "model/config_table.h"

namespace quorvane::gui {
namespace {

const char* const kHelp[] = {
    "配置时段1-时段8的通行时间范围及星期",
    "自定义系统通行时段，时段1表示在任何时候都禁止通过。同时配置了允许和禁止，则禁止优先。"
    "没有配置任何时段表示随时可通行。",
    "其它时段可自由配置每天的通行起始时间和结束时间以及每周的可通行的天。"
    "每张门禁卡可以授权多个时段表示在这些时段内可通行。",
};

} // namespace

CDlgConfigTimezone::CDlgConfigTimezone(MutableBytes doorBlock, QWidget* parent)
    : CDlgConfigPart(doorBlock, QString::fromUtf8("通行时段配置"), parent) {
    setObjectName("CDlgConfigTimezone");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(helpText(kHelp[0]));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        const QString n = QString::number(i + 1);
        auto* start = new QTimeEdit;
        start->setObjectName("start" + n);
        auto* end = new QTimeEdit;
        end->setObjectName("end" + n);
        grid->addWidget(new QLabel(QString::fromUtf8("起始时间%1：").arg(n)), i, 0);
        grid->addWidget(start, i, 1);
        grid->addWidget(new QLabel(QString::fromUtf8("结束时间%1：").arg(n)), i, 2);
        grid->addWidget(end, i, 3);
        auto days = weekdayBoxes("zone" + n, grid, i, 4);

        FieldBindings& b = bindings();
        b.time(start, configField("timeZone.start"), i);
        b.time(end, configField("timeZone.end"), i);
        b.weekdays(days, configField("timeZone.weekdays"), i);
    }
    layout->addLayout(grid);
    layout->addWidget(helpText(kHelp[1]));
    layout->addWidget(helpText(kHelp[2]));
    layout->addWidget(okCancelButtons(this));
    bindings().load();
}

} // namespace quorvane::gui
