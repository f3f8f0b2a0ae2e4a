#include "app/quorvane_dlg.h"

#include <cstdlib>
#include <ctime>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "app/config_handlers.h"
#include "app/device_list_menu.h"
#include "app/device_list_view.h"
#include "app/qt_user_port.h"
#include "app/service_group.h"
#include "app/tooltips.h"
#include "dialogs/dlg_option_ini.h"
#include "dialogs/dlg_password.h"
#include "infra/codepage.h"
#include "infra/tool_log.h"
#include "model/config_table.h"
#include "model/record_file.h"
#include "platform/files.h"
#include "protocol/admin_channel.h"
#include "protocol/pipe_channel.h"
#include "session/tool_session.h"

namespace quorvane::gui {
namespace {

constexpr int kTimer1Ms = 1000;
constexpr int kListRedrawMs = 500;

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString dotted(std::uint32_t hostOrder) {
    return QString("%1.%2.%3.%4")
        .arg(hostOrder >> 24)
        .arg((hostOrder >> 16) & 0xFF)
        .arg((hostOrder >> 8) & 0xFF)
        .arg(hostOrder & 0xFF);
}

} // namespace

CQuorvaneDlg::CQuorvaneDlg(ToolSession& session, QtUserPort& port, QWidget* parent)
    : QWidget(parent), session_(session), port_(port), c_(buildMainWindow(this)) {
    setObjectName("CQuorvaneDlg");
    port_.setWindow(this);
    port_.setProgressSink([this](const QString& text) { c_.status->setText(text); });
    listView_ = std::make_unique<DeviceListView>(c_.list);
    service_ = std::make_unique<ServiceGroup>(c_, session_.programDir(), port_);
    registerTooltips(c_);
    config_ = std::make_unique<ConfigHandlers>(
        session_, port_, c_, this,
        ConfigHandlers::WindowHooks{[this] { return listView_->selected(); },
                                    [this](const DeviceUIInfo& before, const DeviceUIInfo& after) {
                                        session_.devices().replace(before, after);
                                        listView_->replaceRecord(before, after);
                                    },
                                    [this] { OnBnClickedSearch(); },
                                    [this] { return service_->statusText().toStdString(); }});

    // Operations that later parts of the tool bring: present, and disabled until then.
    pending_ = {c_.readTime,      c_.setTime,       c_.reset,          c_.selfTest,
                c_.set485Id,      c_.textCmd,       c_.finger,         c_.rights,
                c_.scanPrompt,    c_.playSound,     c_.uploadSound,    c_.openDoor,
                c_.openDoorAll,   c_.getRec,        c_.logViewer,      c_.clearLog,
                c_.getIdInfo,     c_.fillLog,       c_.memWriteE,      c_.memReadE,
                c_.memWriteF,     c_.memReadF,      c_.memRightE,      c_.memRightF,
                c_.memRightImage, c_.downloadSound, c_.updateFirmware, c_.downloadFirmware,
                c_.upgradeAll,    c_.backupE,       c_.backupF,        c_.clearE,
                c_.clearF,        c_.loadE,         c_.loadF,          c_.clearCode};
    c_.queryRec->setEnabled(false);
    c_.browse->setEnabled(false);

    listTimer_.setSingleShot(true);
    listTimer_.setInterval(kListRedrawMs);
    connect(&listTimer_, &QTimer::timeout, this, &CQuorvaneDlg::showList);
    timer1_.setInterval(kTimer1Ms);
    connect(&timer1_, &QTimer::timeout, this, &CQuorvaneDlg::OnTimer1);

    readInitialValues();
    connectControls();
    qApp->installEventFilter(this);

    // Search replies arrive on the receive thread or the pipe worker; the redraw runs here.
    QPointer<CQuorvaneDlg> self(this);
    session_.setListChangedCallback([self] {
        if (self)
            QMetaObject::invokeMethod(
                self,
                [self] {
                    if (self)
                        self->onListChanged();
                },
                Qt::QueuedConnection);
    });
}

CQuorvaneDlg::~CQuorvaneDlg() {
    qApp->removeEventFilter(this);
    session_.setListChangedCallback({});
    if (!stopped_)
        session_.stop();
}

void CQuorvaneDlg::readInitialValues() {
    const Settings& s = session_.settings();
    showListByTimer_ = s.readInt("options", "show-list-by-timer", 1) != 0;
    c_.searchOnStart->setChecked(s.readInt("net", "search-on-start", 1) != 0);
    c_.enablePipe->setChecked(s.readInt("net", "enable-pipe", 1) != 0);
    c_.mcast->setChecked(s.readInt("net", "enable-mcast", 1) != 0);
    c_.showAll->setChecked(false);
    c_.logCount->setText(QString::number(s.readInt("options", "get-rec-count", 10)));
    c_.logStart->setText("1");
    c_.openTime->setText("3000");
    c_.ipFix->setChecked(true);
    c_.rptClient->setChecked(true);
}

void CQuorvaneDlg::connectControls() {
    connect(c_.search, &QPushButton::clicked, this, &CQuorvaneDlg::OnBnClickedSearch);
    connect(c_.searchOnStart, &QCheckBox::clicked, this, &CQuorvaneDlg::OnBnClickedSearchOnstart);
    connect(c_.showAll, &QCheckBox::clicked, this, &CQuorvaneDlg::OnBnClickedZ1Showall);
    connect(c_.enablePipe, &QCheckBox::clicked, this, &CQuorvaneDlg::OnBnClickedEnablePipe);
    connect(c_.mcast, &QCheckBox::clicked, this, &CQuorvaneDlg::OnBnClickedMcast);
    // Only a choice by the person joins the group, never the filling of the box.
    connect(c_.ips, &QComboBox::activated, this, &CQuorvaneDlg::OnCbnSelchangeIps);
    connect(c_.filter, &QLineEdit::textChanged, this, &CQuorvaneDlg::OnEnChangeFilter);
    connect(c_.opPass, &QLineEdit::textChanged, this, &CQuorvaneDlg::OnEnChangeOpPass);
    connect(c_.logCount, &QLineEdit::textEdited, this, &CQuorvaneDlg::OnEnChangeLogCount);
    connect(c_.list, &QTreeWidget::itemSelectionChanged, this, &CQuorvaneDlg::OnLvnItemchangedList);
    connect(c_.list, &QTreeWidget::customContextMenuRequested, this,
            &CQuorvaneDlg::OnNMRClickZ1List);
    connect(c_.saveRec, &QPushButton::clicked, this, &CQuorvaneDlg::OnBnClickedZ1Saverec);
    connect(c_.loadRec, &QPushButton::clicked, this, &CQuorvaneDlg::OnBnClickedZ1Loadrec);
    connect(c_.changePass, &QPushButton::clicked, this, &CQuorvaneDlg::OnBnClickedChangePass);
    connect(c_.serviceConfig, &QPushButton::clicked, this, &CQuorvaneDlg::OnBnClickedServiceConfig);
    connect(c_.genMac, &QPushButton::clicked, this, &CQuorvaneDlg::OnBnClickedGenMac);
    for (auto* r : {c_.ipFix, c_.ipDhcp, c_.ipPppoe})
        connect(r, &QRadioButton::clicked, this, &CQuorvaneDlg::OnBnClickedIpChoice);
}

bool CQuorvaneDlg::programDirectoryAccepted() {
    const std::string& dir = session_.programDir();
    if (dir.find_first_of(" ()") == std::string::npos)
        return true;
    port_.showMessage("软件所在目录中不能有英文空格和括号！请移动软件到合适的位置后再使用！");
    return false;
}

bool CQuorvaneDlg::OnInitDialog() {
    if (!programDirectoryAccepted())
        return false;
    session_.start();
    service_->disableWithoutScripts();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    enableButton(false, nullptr);
    setWindowTitle(q(session_.settings().readString("common", "title", "Selvane", 1024)));
    if (!runStartGate(this, session_.settings()))
        return false;
    c_.debugRow->setVisible(session_.settings().readInt("common", "debug", 0) != 0);
    fillInterfaces();
    OnBnClickedMcast();
    timer1_.start();
    if (c_.searchOnStart->isChecked())
        OnBnClickedSearch();
    return true;
}

// The stored interface is kept even when the system does not list it (the loopback address
// is never listed), so a site on one machine can search its own address.
void CQuorvaneDlg::fillInterfaces() {
    c_.ips->clear();
    for (const auto& a : session_.channel().localInterfaces())
        c_.ips->addItem(q(a));
    QString stored = q(session_.settings().readString("net", "mcast-local-address", ""));
    if (stored.isEmpty()) {
        c_.ips->setCurrentIndex(-1);
        return;
    }
    int at = c_.ips->findText(stored);
    if (at < 0) {
        c_.ips->addItem(stored);
        at = c_.ips->count() - 1;
    }
    c_.ips->setCurrentIndex(at);
}

void CQuorvaneDlg::OnBnClickedMcast() {
    const bool on = c_.mcast->isChecked();
    SearchTarget t = session_.channel().applyMulticastMode(on, c_.ips->currentText().toStdString());
    c_.searchAddress->setEnabled(!on);
    c_.searchPort->setEnabled(!on);
    c_.searchAddress->setText(dotted(t.destination.address));
    c_.searchPort->setText(QString::number(t.destination.port));
}

void CQuorvaneDlg::OnCbnSelchangeIps() {
    session_.channel().chooseInterface(c_.ips->currentText().toStdString());
}

void CQuorvaneDlg::OnBnClickedSearch() {
    // A reply still being merged holds the list: the click is ignored.
    if (!session_.devices().tryClear())
        return;
    listView_->clear();
    if (c_.ips->currentText().isEmpty()) {
        port_.showMessage("首次使用，请选择要搜索控制器的网络接口！");
        c_.ips->setFocus();
        return;
    }
    SearchRequest request;
    request.multicast = c_.mcast->isChecked();
    request.searchAddress = addressNumber(c_.searchAddress->text().toStdString());
    request.port = static_cast<std::uint16_t>(c_.searchPort->text().toUInt());
    request.interfaceAddress = c_.ips->currentText().toStdString();
    request.listServiceDevices = c_.showAll->isChecked();
    session_.search(request);
    enableButton(false, nullptr);
}

void CQuorvaneDlg::OnBnClickedSearchOnstart() {
    session_.settings().writeInt("net", "search-on-start", c_.searchOnStart->isChecked() ? 1 : 0);
}

void CQuorvaneDlg::OnBnClickedZ1Showall() {
    // The list keeps the service's devices, and the pipe carries frames, only with the box set.
    session_.devices().setListServiceDevices(c_.showAll->isChecked());
    session_.pipe().setListServiceDevices(c_.showAll->isChecked());
}

void CQuorvaneDlg::OnBnClickedEnablePipe() {
    session_.settings().writeString("net", "enable-pipe", c_.enablePipe->isChecked() ? "1" : "0");
}

void CQuorvaneDlg::OnEnChangeFilter() {
    showList();
}

void CQuorvaneDlg::OnEnChangeOpPass() {
    session_.protocol().fillOpPassword(toGbk(c_.opPass->text().toStdString()));
}

void CQuorvaneDlg::OnEnChangeLogCount() {
    session_.settings().writeString("options", "get-rec-count",
                                    std::to_string(c_.logCount->text().toUInt()));
}

void CQuorvaneDlg::onListChanged() {
    if (showListByTimer_)
        listTimer_.start();
    else
        showList();
}

void CQuorvaneDlg::showList() {
    listView_->clear();
    const bool serialGen = session_.settings().readInt("common", "serial-gen", 0) != 0;
    auto rows = session_.devices().trySnapshot();
    if (!rows)
        return;
    auto shown = listView_->fill(*rows, c_.filter->text().toStdString());
    if (!serialGen)
        return;
    // Factory output: the target ids and serial numbers of the listed devices.
    std::string ids, serials;
    for (const DeviceUIInfo* r : shown) {
        char line[16];
        std::snprintf(line, sizeof line, "%05u\n", r->getTargetId());
        ids += line;
        std::string serial(r->productSerial.begin(), r->productSerial.end());
        serials += serial.substr(0, serial.find('\0')) + "\n";
    }
    const std::string home = platform::environment("HOME");
    writeTextFile(&session_.log(), home + "/kx.txt", ids);
    writeTextFile(&session_.log(), home + "/kxsn.txt", serials);
}

// The door-access configuration waits for its dialog as well.
bool CQuorvaneDlg::isPending(const QWidget* control) const {
    return pending_.count(control) > 0 || (control == c_.configEx && !config_->hasDoorDialog());
}

std::optional<DeviceUIInfo> CQuorvaneDlg::GetCurrSelDev(bool fromList) const {
    return fromList ? listView_->selected() : session_.currentDevice();
}

void CQuorvaneDlg::OnLvnItemchangedList() {
    auto record = listView_->selected();
    if (!record) {
        enableButton(false, nullptr);
        return;
    }
    record->save(session_.programDir());
    showRecord(*record);
    const long logCount =
        static_cast<long>(readNumber(configField("logCount"), record->doorConfig));
    const long fetch = c_.logCount->text().toLong();
    c_.logStart->setText(QString::number(std::max(1L, logCount - fetch + 1)));
    enableButton(true, &*record);
}

void CQuorvaneDlg::OnNMRClickZ1List(const QPoint& at) {
    QMenu* menu = buildDeviceListMenu(this, {});
    config_->attachToMenu(menu);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(c_.list->viewport()->mapToGlobal(at));
}

void CQuorvaneDlg::OnShowImage(const QString& path) {
    QPixmap image(path);
    c_.photo->setPixmap(image.isNull() ? QPixmap() : image);
}

void CQuorvaneDlg::OnTimer1() {
    service_->refreshStatus();
    if (auto text = session_.dispatcher().pendingReply.poll())
        port_.showMessage(*text);
}

void CQuorvaneDlg::OnBnClickedChangePass() {
    if (auto message = askNewStartPassword(this, session_.settings()))
        port_.showMessage(*message);
}

void CQuorvaneDlg::OnBnClickedServiceConfig() {
    CDlgOptionINI dlg(session_.settings(), port_, this);
    dlg.exec();
}

// Escape and Enter never close the window or press a button, in any of its fields.
bool CQuorvaneDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (w && w->window() == this &&
            (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CQuorvaneDlg::closeEvent(QCloseEvent* event) {
    timer1_.stop();
    listTimer_.stop();
    session_.setListChangedCallback({});
    if (!stopped_) {
        stopped_ = true;
        session_.stop();
    }
    event->accept();
}

} // namespace quorvane::gui
