#include "dialogs/dlg_right_man.h"

#include <algorithm>
#include <climits>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "dialogs/dlg_check_list.h"
#include "dialogs/dlg_convert_2nd.h"
#include "dialogs/local_card_reads.h"
#include "dialogs/section_typing.h"
#include "infra/settings.h"
#include "rights/card_list.h"
#include "rights/right_defaults.h"

namespace quorvane::gui {
namespace {

constexpr int kPollMs = 1000;
constexpr int kNameChars = 8;
constexpr int kUnlimitedTimes = 65535;

QString q(const char* text) {
    return QString::fromUtf8(text);
}

QSpinBox* spin(const char* name, int max) {
    auto* box = new QSpinBox;
    box->setObjectName(name);
    box->setRange(0, max);
    return box;
}

QCheckBox* check(const char* caption, const char* name) {
    auto* box = new QCheckBox(q(caption));
    box->setObjectName(name);
    return box;
}

QPushButton* button(const char* caption, const char* name) {
    auto* b = new QPushButton(q(caption));
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QComboBox* list(const char* name, const std::vector<std::string>& entries) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    for (const auto& e : entries)
        box->addItem(QString::fromStdString(e));
    return box;
}

QDate dateOf(const RightDateTime& t) {
    return QDate(t.year, t.month, t.day);
}
QTime timeOf(const RightDateTime& t) {
    return QTime(t.hour, t.minute, t.second);
}
RightDateTime dateTimeOf(const QDateEdit* date, const QTimeEdit* time) {
    const QDate d = date->date();
    const QTime t = time->time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

// The packed date of a right holds the years 2000..2127.
void dateTimePair(QDateEdit*& date, QTimeEdit*& time, const char* name) {
    date = new QDateEdit;
    date->setObjectName(QString(name) + "Date");
    date->setDisplayFormat("yyyy-MM-dd");
    date->setDateRange(QDate(2000, 1, 1), QDate(2127, 12, 31));
    date->setCalendarPopup(true);
    selectSectionOnClick(date);
    time = new QTimeEdit;
    time->setObjectName(QString(name) + "Time");
    time->setDisplayFormat("HH:mm:ss");
    selectSectionOnClick(time);
}

// The edit shows line ends as LF; the number text keeps CR LF, as the operations expect.
QString fromNumberText(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}

} // namespace

CDlgRightMan::CDlgRightMan(const Settings& settings, const RightFields& initial,
                           LocalCardReads* reads, QWidget* parent)
    : QDialog(parent), settings_(settings), reads_(reads) {
    setObjectName("CDlgRightMan");
    setWindowTitle(q("权限配置"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFields());
    layout->addLayout(buildOperations());
    setFields(initial);

    const bool debug = settings_.readInt("common", "debug", 0) != 0;
    for (int index : {kRightCmdFill1, kRightCmdFill10, kRightCmdVerify1, kRightCmdVerify10})
        commandButton(index)->setVisible(debug);

    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &CDlgRightMan::OnTimer);
    if (reads_)
        connect(reads_, &LocalCardReads::finished, this, &CDlgRightMan::readDone);
    if (localReader_->isChecked())
        poll_.start();
}

QLayout* CDlgRightMan::buildFields() {
    auto* v = new QVBoxLayout;
    v->addWidget(
        new QLabel(q("要操作的号码：（在下面的输入框中录入要操作的身份证号码、卡号或者姓名，"
                     "使用小写分号分隔多个记录）")));
    numbers_ = new QPlainTextEdit;
    numbers_->setObjectName("numbers");
    v->addWidget(numbers_);

    auto* g = new QGridLayout;
    name_ = new QLineEdit;
    name_->setObjectName("name");
    name_->setMaxLength(kNameChars);
    times_ = spin("times", 65535);
    readers_ = spin("readers", 255);
    timeZones_ = spin("timeZones", 255);
    reserved_ = spin("reserved", 65535);
    dateTimePair(fromDate_, fromTime_, "validFrom");
    dateTimePair(toDate_, toTime_, "validTo");
    auto* unlimited = button("不限次", "unlimited");
    auto* pickReaders = button("...", "pickReaders");
    auto* pickZones = button("...", "pickTimeZones");
    connect(unlimited, &QPushButton::clicked, this, &CDlgRightMan::OnBnClickedUnlimited);
    connect(pickReaders, &QPushButton::clicked, this, &CDlgRightMan::OnBnClickedReaders);
    connect(pickZones, &QPushButton::clicked, this, &CDlgRightMan::OnBnClickedTimeZones);
    type_ = list("type", readManTypes(settings_));
    group_ = list("group", groupNames());

    // Two halves of label, field and its button.
    pickReaders->setMaximumWidth(32);
    pickZones->setMaximumWidth(32);
    auto put = [g](int row, int half, const char* label, QWidget* field, QWidget* extra) {
        g->addWidget(new QLabel(q(label)), row, half * 3);
        g->addWidget(field, row, half * 3 + 1, 1, extra ? 1 : 2);
        if (extra)
            g->addWidget(extra, row, half * 3 + 2);
    };
    put(0, 0, "人员名称：", name_, nullptr);
    put(0, 1, "刷卡次数：", times_, unlimited);
    put(1, 0, "可用读头：", readers_, pickReaders);
    put(1, 1, "可用时段：", timeZones_, pickZones);
    put(2, 0, "生效时间：", fromDate_, fromTime_);
    put(2, 1, "失效时间：", toDate_, toTime_);
    put(3, 0, "类型：", type_, nullptr);
    put(3, 1, "人员分组：", group_, nullptr);
    put(4, 0, "预留：", reserved_, nullptr);
    v->addLayout(g);

    auto* flags = new QHBoxLayout;
    antiPassback_ = check("对此用户启用反潜回", "antiPassback");
    parcel_ = check("有包裹", "parcel");
    arrears_ = check("欠费", "arrears");
    flag1_ = check("自定义标志1", "userFlag1");
    flag2_ = check("自定义标志2", "userFlag2");
    flag3_ = check("自定义标志3", "userFlag3");
    for (QWidget* w : {antiPassback_, parcel_, arrears_, flag1_, flag2_, flag3_})
        flags->addWidget(w);
    v->addLayout(flags);

    auto* read = new QHBoxLayout;
    startPosition_ = spin("startPosition", INT_MAX);
    count_ = spin("count", INT_MAX);
    searchForward_ = check("向后搜索直到发现有效权限", "searchForward");
    connect(searchForward_, &QCheckBox::clicked, this, &CDlgRightMan::OnBnClickedSearchForward);
    read->addWidget(new QLabel(q("开始索引：")));
    read->addWidget(startPosition_);
    read->addWidget(new QLabel(q("数量：")));
    read->addWidget(count_);
    read->addWidget(searchForward_);
    read->addStretch();
    v->addLayout(read);

    auto* gather = new QHBoxLayout;
    localReader_ = check("启动身份证阅读器读取号码", "localReader");
    connect(localReader_, &QCheckBox::clicked, this, &CDlgRightMan::OnBnClickedLocalReader);
    generatorStart_ = new QLineEdit;
    generatorStart_->setObjectName("generatorStart");
    generatorStart_->setMinimumWidth(120);
    generatorCount_ = spin("generatorCount", static_cast<int>(kMaxGeneratedCards));
    auto* generate = button("按顺序批量生成", "generate");
    auto* convertId = button("字符串转身份证", "convertId");
    auto* convertLong = button("超长字符串转卡号", "convertLong");
    connect(generate, &QPushButton::clicked, this, &CDlgRightMan::OnBnClickedGenerate);
    connect(convertId, &QPushButton::clicked, this, &CDlgRightMan::OnBnClickedConvertId);
    connect(convertLong, &QPushButton::clicked, this, &CDlgRightMan::OnBnClickedConvertLong);
    gather->addWidget(localReader_);
    gather->addStretch();
    gather->addWidget(convertId);
    gather->addWidget(convertLong);
    v->addLayout(gather);
    auto* generator = new QHBoxLayout;
    generator->addWidget(new QLabel(q("批量生成卡号起始值")));
    generator->addWidget(generatorStart_);
    generator->addWidget(new QLabel(q("数量")));
    generator->addWidget(generatorCount_);
    generator->addWidget(generate);
    generator->addStretch();
    v->addLayout(generator);
    return v;
}

QLayout* CDlgRightMan::buildOperations() {
    auto* v = new QVBoxLayout;
    auto* first = new QHBoxLayout;
    addCommand(first, "添加权限(&A)", kRightCmdAdd);
    addCommand(first, "删除权限(&R)", kRightCmdRemove);
    addCommand(first, "验证权限(&V)", kRightCmdCheck);
    addCommand(first, "清空权限(&C)", kRightCmdClear);
    addCommand(first, "模拟刷卡(&M)", kRightCmdVirtualScan);
    addCommand(first, "获取权限", kRightCmdGetRight);
    addCommand(first, "下载权限(&D)", kRightCmdDownload);
    addCommand(first, "上传权限(&U)", kRightCmdUpload);
    auto* second = new QHBoxLayout;
    addCommand(second, "从数据文件取卡号", kRightCmdFromDataFile);
    addCommand(second, "全量上传权限数据文件", kRightCmdUploadImage);
    addCommand(second, "填充1", kRightCmdFill1);
    addCommand(second, "填充10", kRightCmdFill10);
    addCommand(second, "验证1", kRightCmdVerify1);
    addCommand(second, "验证10", kRightCmdVerify10);

    auto* last = new QHBoxLayout;
    auto* save = button("保存为默认值", "saveDefault");
    connect(save, &QPushButton::clicked, this, &CDlgRightMan::OnBnClickedSaveDefault);
    auto* ok = button("确定", "ok");
    auto* cancel = button("取消", "cancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    last->addWidget(save);
    last->addStretch();
    last->addWidget(ok);
    last->addWidget(cancel);
    v->addLayout(first);
    v->addLayout(second);
    v->addLayout(last);
    return v;
}

void CDlgRightMan::addCommand(QLayout* row, const char* caption, int index) {
    auto* b = button(caption, qPrintable(QString("command%1").arg(index)));
    connect(b, &QPushButton::clicked, this, [this, index] {
        command_ = index;
        accept();
    });
    row->addWidget(b);
    commands_.emplace_back(index, b);
}

QPushButton* CDlgRightMan::commandButton(int index) const {
    for (const auto& [i, b] : commands_)
        if (i == index)
            return b;
    return nullptr;
}

RightFields CDlgRightMan::fields() const {
    RightFields f;
    f.numbers = numbers_->toPlainText().replace("\n", "\r\n").toStdString();
    f.name = name_->text().toStdString();
    f.times = static_cast<unsigned>(times_->value());
    f.readers = static_cast<unsigned>(readers_->value());
    f.timeZones = static_cast<unsigned>(timeZones_->value());
    f.validFrom = dateTimeOf(fromDate_, fromTime_);
    f.validTo = dateTimeOf(toDate_, toTime_);
    f.antiPassback = antiPassback_->isChecked();
    f.parcel = parcel_->isChecked();
    f.arrears = arrears_->isChecked();
    f.userFlag1 = flag1_->isChecked();
    f.userFlag2 = flag2_->isChecked();
    f.userFlag3 = flag3_->isChecked();
    f.typeIndex = std::max(type_->currentIndex(), 0);
    f.groupIndex = std::max(group_->currentIndex(), 0);
    f.reserved = static_cast<unsigned>(reserved_->value());
    f.startPosition = startPosition_->value();
    f.count = count_->value();
    f.searchForward = searchForward_->isChecked();
    f.localReader = localReader_->isChecked();
    return f;
}

void CDlgRightMan::setFields(const RightFields& f) {
    numbers_->setPlainText(fromNumberText(f.numbers));
    name_->setText(QString::fromStdString(f.name));
    times_->setValue(static_cast<int>(f.times));
    readers_->setValue(static_cast<int>(f.readers));
    timeZones_->setValue(static_cast<int>(f.timeZones));
    fromDate_->setDate(dateOf(f.validFrom));
    fromTime_->setTime(timeOf(f.validFrom));
    toDate_->setDate(dateOf(f.validTo));
    toTime_->setTime(timeOf(f.validTo));
    antiPassback_->setChecked(f.antiPassback);
    parcel_->setChecked(f.parcel);
    arrears_->setChecked(f.arrears);
    flag1_->setChecked(f.userFlag1);
    flag2_->setChecked(f.userFlag2);
    flag3_->setChecked(f.userFlag3);
    type_->setCurrentIndex(f.typeIndex < type_->count() ? f.typeIndex : -1);
    group_->setCurrentIndex(f.groupIndex < group_->count() ? f.groupIndex : -1);
    reserved_->setValue(static_cast<int>(f.reserved));
    startPosition_->setValue(static_cast<int>(std::clamp<long>(f.startPosition, 0, INT_MAX)));
    count_->setValue(static_cast<int>(std::clamp<long>(f.count, 0, INT_MAX)));
    searchForward_->setChecked(f.searchForward);
    localReader_->setChecked(f.localReader);
}

// A typed card without a separator after it would run into the first appended one and make
// another number: a line end keeps them apart.
void CDlgRightMan::appendNumbers(const QString& text) {
    QString t = numbers_->toPlainText();
    if (!t.isEmpty() && !QString("; \t\n").contains(t.back()))
        t += '\n';
    t += QString(text).replace("\r\n", "\n");
    numbers_->setPlainText(t);
    numbers_->moveCursor(QTextCursor::End);
}

void CDlgRightMan::OnBnClickedReaders() {
    readers_->setValue(static_cast<int>(pickReaderMask(this, readers_->value())));
}

void CDlgRightMan::OnBnClickedTimeZones() {
    timeZones_->setValue(static_cast<int>(pickTimeZoneMask(this, timeZones_->value())));
}

void CDlgRightMan::OnBnClickedUnlimited() {
    times_->setValue(kUnlimitedTimes);
}

void CDlgRightMan::OnBnClickedGenerate() {
    const std::string start = generatorStart_->text().trimmed().toStdString();
    if (start.empty() || generatorCount_->value() <= 0)
        return;
    if (auto text = generateCardNumbers(start, generatorCount_->value()))
        numbers_->setPlainText(fromNumberText(*text));
}

void CDlgRightMan::convert(bool reverse) {
    Cconvert2ndDlg dlg(reverse, this);
    if (dlg.exec() == QDialog::Accepted)
        appendNumbers(dlg.output() + "\r\n");
}

void CDlgRightMan::OnBnClickedConvertId() {
    convert(false);
}

void CDlgRightMan::OnBnClickedConvertLong() {
    convert(true);
}

void CDlgRightMan::OnBnClickedSaveDefault() {
    saveRightDefaults(settings_, fields());
}

void CDlgRightMan::OnBnClickedSearchForward() {
    saveSearchForward(settings_, searchForward_->isChecked());
}

void CDlgRightMan::OnBnClickedLocalReader() {
    if (localReader_->isChecked())
        poll_.start();
    else
        poll_.stop();
}

// The timer stops while a read runs and starts again when it returned, so a slow reader is
// never asked twice at once; the read itself runs off the window's thread.
void CDlgRightMan::OnTimer() {
    poll_.stop();
    if (!reads_ || !reads_->hasReader())
        return;
    if (!reads_->start() && localReader_->isChecked())
        poll_.start(); // a read of an earlier opening still runs: ask again later
}

void CDlgRightMan::readDone(const QString& number) {
    if (!number.isEmpty())
        appendNumbers(number + "\r\n");
    if (localReader_->isChecked() && !poll_.isActive())
        poll_.start();
}

// Once closed, the dialog no longer polls nor takes numbers, while its values are read.
void CDlgRightMan::done(int result) {
    poll_.stop();
    if (reads_)
        disconnect(reads_, nullptr, this, nullptr);
    QDialog::done(result);
}

} // namespace quorvane::gui
