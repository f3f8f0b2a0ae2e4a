#include "dialogs/dlg_config_wg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "dialogs/dlg_config_reader.h"
#include "model/config_table.h"

namespace quorvane::gui {

CDlgConfigWG::CDlgConfigWG(MutableBytes doorBlock, QWidget* parent)
    : CDlgConfigPart(doorBlock, QString::fromUtf8("韦根配置（读头5-8表示设备上的4个韦根读头）"),
                     parent) {
    setObjectName("CDlgConfigWG");
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 4; ++i) {
        auto* button =
            new QPushButton(QString::fromUtf8("韦根(&%1) / 读头%2").arg(i + 1).arg(i + 5));
        button->setObjectName("wiegand" + QString::number(i + 1));
        connect(button, &QPushButton::clicked, this, [this, i] { OnBnClickedWiegand(i); });
        layout->addWidget(button);
    }
    layout->addWidget(okCancelButtons(this));
}

void CDlgConfigWG::OnBnClickedWiegand(int wiegand) {
    const int reader = 4 + wiegand;
    CDlgConfigReader dlg(
        readerSetting(bytes(), reader),
        QString::fromUtf8("读头配置：读头%1/韦根%2").arg(reader + 1).arg(wiegand + 1), this);
    dlg.exec();
}

} // namespace quorvane::gui
