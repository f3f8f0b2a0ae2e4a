#include "dialogs/dlg_convert_2nd.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "dialogs/config_widgets.h"
#include "idcard/text_to_number.h"

namespace quorvane::gui {

Cconvert2ndDlg::Cconvert2ndDlg(bool reverse, QWidget* parent) : QDialog(parent), reverse_(reverse) {
    setObjectName("Cconvert2ndDlg");
    setWindowTitle(QString::fromUtf8("文本转身份证号工具"));
    input_ = new QPlainTextEdit;
    input_->setObjectName("input");
    outputEdit_ = new QPlainTextEdit;
    outputEdit_->setObjectName("output");
    outputEdit_->setReadOnly(true);
    force_ = new QCheckBox(QString::fromUtf8("强制转换（正常IC卡范围内的卡号也转成身份证格式）"));
    force_->setObjectName("force");
    force_->setChecked(true);
    force_->setEnabled(!reverse_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QString::fromUtf8("要转换的数据，一行一个，如果数据超长会被截取：")));
    layout->addWidget(input_);
    layout->addWidget(new QLabel(QString::fromUtf8("转换结果，一行一个：")));
    layout->addWidget(outputEdit_);
    layout->addWidget(force_);
    layout->addWidget(okCancelButtons(this));
}

void Cconvert2ndDlg::accept() {
    const TextConversion result =
        convertTextsToNumbers(input_->toPlainText().toStdString(), force_->isChecked(), reverse_);
    const QString message = QString::fromStdString(result.message);
    if (result.noData) {
        QMessageBox::information(this, windowTitle(), message);
        return;
    }
    output_ = QString::fromStdString(result.output);
    outputEdit_->setPlainText(QString(output_).replace("\r\n", "\n"));
    QMessageBox::information(this, windowTitle(), message);
    QDialog::accept();
}

} // namespace quorvane::gui
