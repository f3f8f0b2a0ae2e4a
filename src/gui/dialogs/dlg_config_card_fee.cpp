#include "dialogs/dlg_config_card_fee.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "dialogs/config_widgets.h"
#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane::gui {

CDlgConfigCardFee::CDlgConfigCardFee(MutableBytes setting, QWidget* parent)
    : CDlgConfigPart(setting, QString::fromUtf8("刷卡扣费设备信息"), parent) {
    setObjectName("CDlgConfigCardFee");
    std::vector<std::string> doors{"不开门"};
    for (int n = 1; n <= 36; ++n)
        doors.push_back(std::to_string(n));
    auto* direction = listBox("direction", enumTexts("dir"));
    auto* openDoor = listBox("openDoor", doors);
    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8("方向："), direction);
    form->addRow(QString::fromUtf8("扣费成功开门："), openDoor);
    form->addRow(okCancelButtons(this));

    FieldBindings& b = bindings();
    b.choice(direction, configField("device.direction"));
    b.choice(openDoor, configField("device.relay"));
    b.load();
}

} // namespace quorvane::gui
