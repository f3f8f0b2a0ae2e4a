#include "dialogs/dlg_config_timer_task.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "dialogs/config_widgets.h"
#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane::gui {

CDlgConfigTimerTask::CDlgConfigTimerTask(MutableBytes doorBlock, QWidget* parent)
    : CDlgConfigPart(doorBlock, QString::fromUtf8("定时任务配置"), parent) {
    setObjectName("CDlgConfigTimerTask");
    auto* condition = listBox("condition", enumTexts("timercond"));
    auto* task = listBox("task", enumTexts("timertask"));
    auto* restart = new QCheckBox(QString::fromUtf8("重新启动控制器"));
    restart->setObjectName("restart");
    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8("运行条件："), condition);
    form->addRow(QString::fromUtf8("任务："), task);
    form->addRow(restart);
    form->addRow(okCancelButtons(this));

    FieldBindings& b = bindings();
    b.choice(condition, configField("timerTask.condition"));
    b.choice(task, configField("timerTask.action"));
    b.flag(restart, configField("timerTask.restart"));
    b.load();
}

} // namespace quorvane::gui
