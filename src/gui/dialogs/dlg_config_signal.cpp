#include "dialogs/dlg_config_signal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane::gui {
namespace {

const char* const kHelp[] = {
    "设备上有8个外部输入信号检测接口，其功能是可以通过软件自由配置的。",
    "这里可以定义各输入信号的实际使用方式，以及对应的其它配置。",
    "注意：门号即继电器号。",
    "信号类型为消防联动时，门号为255表示联动所有板载继电器。",
    "信号类型为门磁时，对应门号表示门磁信号来源锁具对应的门/或者说控制板的继电器。"
    "通过方向/门磁类型指定门磁的种类。",
    "信号为开门按钮时，对应门号表示按下开门按钮打开的门，方向表示此门的方向，"
    "如果没有方向或者双向通行则选择未知。",
};

} // namespace

CDlgConfigSignal::CDlgConfigSignal(MutableBytes doorBlock, QWidget* parent)
    : CDlgConfigPart(doorBlock, QString::fromUtf8("信号检测配置"), parent) {
    setObjectName("CDlgConfigSignal");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        const QString n = QString::number(i + 1);
        auto* type = listBox("type" + n, enumTexts("signaltype"));
        auto* door = numberEdit("door" + n, 50);
        auto* direction = listBox("direction" + n, enumTexts("signaldir"));
        auto* log = new QCheckBox(QString::fromUtf8("记录日志"));
        log->setObjectName("log" + n);
        grid->addWidget(new QLabel(QString::fromUtf8("%1通道信号类型：").arg(n)), i, 0);
        grid->addWidget(type, i, 1);
        grid->addWidget(new QLabel(QString::fromUtf8("对应门号：")), i, 2);
        grid->addWidget(door, i, 3);
        grid->addWidget(new QLabel(QString::fromUtf8("方向/门磁类型：")), i, 4);
        grid->addWidget(direction, i, 5);
        grid->addWidget(log, i, 6);

        FieldBindings& b = bindings();
        b.choice(type, configField("signal.type"), i);
        b.number(door, configField("signal.door"), i);
        b.choice(direction, configField("signal.direction"), i);
        b.flag(log, configField("signal.log"), i);
    }
    layout->addLayout(grid);
    for (const char* text : kHelp)
        layout->addWidget(helpText(text));
    layout->addWidget(okCancelButtons(this));
    bindings().load();
}

} // namespace quorvane::gui
