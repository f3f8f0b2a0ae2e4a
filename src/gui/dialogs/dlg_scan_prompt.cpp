#include "dialogs/dlg_scan_prompt.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvane::gui {

namespace {
constexpr int kDescriptionLimit = 1023;
} // namespace

CDlgScanPrompt::CDlgScanPrompt(const std::vector<std::string>& options, const ScanPrompts& initial,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName("CDlgScanPrompt");
    setWindowTitle(QString::fromUtf8("自定义刷卡提示音播放配置"));
    auto* v = new QVBoxLayout(this);
    auto* note = new QLabel(
        QString::fromUtf8("自定义刷卡提示音在项目文件中占用序号为92到107共16个。"
                          "刷卡后控制器按顺序检查这16个条件，如果当次刷卡满足条件就播放对应的语音，"
                          "或者执行指定的操作。"));
    note->setWordWrap(true);
    v->addWidget(note);
    auto* grid = new QGridLayout;
    for (int slot = 0; slot < kScanPromptSlots; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        auto* combo = new QComboBox;
        combo->setObjectName(QString("condition%1").arg(slot + 1));
        for (const auto& o : options)
            combo->addItem(QString::fromStdString(o));
        // A condition the list no longer offers shows as its number.
        if (initial.conditions[i] >= combo->count())
            combo->addItem(QString::number(initial.conditions[i]));
        combo->setCurrentIndex(std::min<int>(initial.conditions[i], combo->count() - 1));
        auto* edit = new QLineEdit(QString::fromStdString(initial.descriptions[i]));
        edit->setObjectName(QString("description%1").arg(slot + 1));
        edit->setMaxLength(kDescriptionLimit);
        grid->addWidget(new QLabel(QString::fromUtf8("提示音%1（语音%2）：")
                                       .arg(slot + 1)
                                       .arg(kFirstPromptSound + slot)),
                        slot, 0);
        grid->addWidget(combo, slot, 1);
        grid->addWidget(edit, slot, 2);
        conditions_[i] = combo;
        descriptions_[i] = edit;
    }
    v->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);
}

ScanPrompts CDlgScanPrompt::prompts() const {
    ScanPrompts p;
    for (std::size_t i = 0; i < conditions_.size(); ++i) {
        p.conditions[i] = static_cast<std::uint8_t>(std::max(0, conditions_[i]->currentIndex()));
        p.descriptions[i] = descriptions_[i]->text().toStdString();
    }
    return p;
}

} // namespace quorvane::gui
