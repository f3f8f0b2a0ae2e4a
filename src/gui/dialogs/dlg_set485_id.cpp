#include "dialogs/dlg_set485_id.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "app/pumped_wait.h"
#include "remote/set485_reader.h"

namespace quorvane::gui {

CDlgSet485ID::CDlgSet485ID(const Settings& settings, UserPort& port, QWidget* parent)
    : QDialog(parent), settings_(settings), port_(port) {
    setObjectName("CDlgSet485ID");
    setWindowTitle(QString::fromUtf8("修改485读头标志"));
    serial_ = new QLineEdit;
    serial_->setObjectName("serial");
    serial_->setPlaceholderText(QString::fromUtf8("设备上的8位出厂序号"));
    serial_->setMaxLength(8);
    flag_ = new QSpinBox;
    flag_->setObjectName("flag");
    flag_->setRange(1, 255);
    com_ = new QComboBox;
    com_->setObjectName("com");
    for (int n = 1; n <= kOfferedComPorts; ++n)
        com_->addItem(QString("COM%1").arg(n));
    com_->setCurrentIndex(-1);
    auto* note = new QLabel(QString::fromUtf8(
        "默认情况下读头标志为单数表示进，双数表示出。刷卡通过后标志号就是开门门号。"));
    note->setWordWrap(true);
    auto* form = new QFormLayout(this);
    form->addRow(QString::fromUtf8("出厂序号："), serial_);
    form->addRow(QString::fromUtf8("读头标志："), flag_);
    form->addRow(QString::fromUtf8("串口号："), com_);
    form->addRow(note);
    auto* buttons = new QDialogButtonBox;
    set_ = buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::ActionRole);
    set_->setObjectName("set");
    buttons->addButton(QString::fromUtf8("关闭"), QDialogButtonBox::RejectRole);
    connect(set_, &QPushButton::clicked, this, &CDlgSet485ID::OnBnClickedOk);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void CDlgSet485ID::OnBnClickedOk() {
    Set485Request request;
    request.serial = serial_->text().toStdString();
    request.flag = flag_->value();
    request.comNumber = com_->currentIndex() + 1;
    // The reader may take a second and a half to stay silent: the line is driven beside the
    // window, and the dialog takes no second request meanwhile.
    setEnabled(false);
    runWithoutFreezing([&] { setReaderFlag(settings_, port_, request); });
    setEnabled(true);
}

} // namespace quorvane::gui
