#include "dialogs/dlg_config_gen_dev.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "dialogs/config_widgets.h"
#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane::gui {
namespace {

// 0 none, 1..4 the serial readers, 5..8 the Wiegand readers.
std::vector<std::string> readerChoices() {
    std::vector<std::string> texts{"无"};
    for (int n = 1; n <= kReaderCount; ++n)
        texts.push_back("读头" + std::to_string(n));
    return texts;
}

std::vector<std::string> relayChoices() {
    std::vector<std::string> texts{"无"};
    for (int n = 1; n <= 36; ++n)
        texts.push_back(std::to_string(n));
    return texts;
}

} // namespace

CDlgConfigGenDev::CDlgConfigGenDev(MutableBytes setting, QWidget* parent)
    : CDlgConfigPart(setting, QString::fromUtf8("设备配置"), parent) {
    setObjectName("CDlgConfigGenDev");
    auto* direction = listBox("direction", enumTexts("dir"));
    auto* reader = listBox("reader", readerChoices());
    auto* relay = listBox("relay", relayChoices());
    auto* title = new QLineEdit;
    title->setObjectName("title");
    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8("方向："), direction);
    form->addRow(QString::fromUtf8("对应读头："), reader);
    form->addRow(QString::fromUtf8("对应继电器："), relay);
    form->addRow(QString::fromUtf8("显示标题："), title);
    form->addRow(okCancelButtons(this));

    FieldBindings& b = bindings();
    b.choice(direction, configField("device.direction"));
    b.choice(reader, configField("device.reader"));
    b.choice(relay, configField("device.relay"));
    b.text(title, configField("device.title"));
    b.load();
}

} // namespace quorvane::gui
