#include "dialogs/dlg_config_com.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "dialogs/dlg_config_card_fee.h"
#include "dialogs/dlg_config_gen_dev.h"
#include "dialogs/dlg_config_reader.h"
#include "model/config_table.h"
#include "model/enums.h"

namespace quorvane::gui {

PortDeviceDialog portDeviceDialog(std::uint32_t deviceType) {
    switch (deviceType) {
    case 1:
    case 2:
    case 3:
    case 8:
    case 10:
    case 16:
    case 18:
    case 19:
    case 20:
    case 22:
    case 23:
    case 24:
    case 25:
    case 28:
        return PortDeviceDialog::Reader;
    case 6:
    case 15:
    case 14:
    case 29:
        return PortDeviceDialog::Display;
    case 21:
        return PortDeviceDialog::CardFee;
    case 7:
        return PortDeviceDialog::ClearRelay;
    default:
        return PortDeviceDialog::None;
    }
}

CDlgConfigCom::CDlgConfigCom(MutableBytes doorBlock, QWidget* parent)
    : CDlgConfigPart(doorBlock, QString::fromUtf8("串口配置（读头1-4表示设备上的4个串口设备）"),
                     parent) {
    setObjectName("CDlgConfigCom");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        // The usual rates are offered; another rate a port already has is shown and kept.
        auto* baud = listBox("baud" + n,
                             std::vector<std::string>{"9600", "19200", "38400", "57600", "115200"});
        baud->setEditable(true);
        baud->setInsertPolicy(QComboBox::NoInsert);
        auto* type = listBox("deviceType" + n, portDeviceTypeNames());
        auto* asReader = new QCheckBox(QString::fromUtf8("是否用作读头"));
        asReader->setObjectName("asReader" + n);
        asReader->setEnabled(false);
        auto* config = new QPushButton(QString::fromUtf8("设备配置(&%1)").arg(n));
        config->setObjectName("deviceConfig" + n);
        types_[static_cast<std::size_t>(i)] = type;
        asReader_[static_cast<std::size_t>(i)] = asReader;

        grid->addWidget(new QLabel(QString::fromUtf8("读头%1：").arg(n)), i, 0);
        grid->addWidget(new QLabel(QString::fromUtf8("波特率：")), i, 1);
        grid->addWidget(baud, i, 2);
        grid->addWidget(new QLabel(QString::fromUtf8("设备类型：")), i, 3);
        grid->addWidget(type, i, 4);
        grid->addWidget(asReader, i, 5);
        grid->addWidget(config, i, 6);

        bindings().number(baud->lineEdit(), configField("serialPort.baud"), i,
                          QString::fromUtf8("波特率"));
        bindings().choice(type, configField("serialPort.deviceType"), i);
        // Loading the list below ticks the box through this signal.
        connect(type, &QComboBox::currentIndexChanged, this, [this, i] {
            asReader_[static_cast<std::size_t>(i)]->setChecked(portDeviceDialog(deviceType(i)) ==
                                                               PortDeviceDialog::Reader);
        });
        connect(config, &QPushButton::clicked, this, [this, i] { OnBnClickedDeviceConfig(i); });
    }
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
    bindings().load();
}

std::uint32_t CDlgConfigCom::deviceType(int port) {
    int item = types_[static_cast<std::size_t>(port)]->currentIndex();
    if (item >= 0)
        return static_cast<std::uint32_t>(item);
    return readNumber(configField("serialPort.deviceType"), bytes(), port);
}

void CDlgConfigCom::OnBnClickedDeviceConfig(int port) {
    MutableBytes setting = readerSetting(bytes(), port);
    const int n = port + 1;
    switch (portDeviceDialog(deviceType(port))) {
    case PortDeviceDialog::Reader: {
        CDlgConfigReader dlg(setting, QString::fromUtf8("读头配置：读头%1/串口%2").arg(n).arg(n),
                             this);
        dlg.exec();
        break;
    }
    case PortDeviceDialog::Display: {
        CDlgConfigGenDev dlg(setting, this);
        dlg.exec();
        break;
    }
    case PortDeviceDialog::CardFee: {
        CDlgConfigCardFee dlg(setting, this);
        dlg.exec();
        break;
    }
    case PortDeviceDialog::ClearRelay:
        // A relay board on the port needs no setting of its own.
        std::fill(setting.begin(), setting.end(), 0);
        showConfigMessage(this, QString::fromUtf8("配置已经设置！"));
        break;
    case PortDeviceDialog::None:
        break;
    }
}

} // namespace quorvane::gui
