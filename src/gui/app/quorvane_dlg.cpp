#include "app/quorvane_dlg.h"

#include <cstdlib>
#include <ctime>

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPointer>

#include "app/basic_config_group.h"
#include "app/config_handlers.h"
#include "app/device_list_group.h"
#include "app/device_list_view.h"
#include "app/log_group.h"
#include "app/memory_handlers.h"
#include "app/operation_controls.h"
#include "app/qt_user_port.h"
#include "app/remote_handlers.h"
#include "app/right_handlers.h"
#include "app/search_group.h"
#include "app/service_group.h"
#include "app/text_handlers.h"
#include "app/tool_settings_group.h"
#include "app/tooltips.h"
#include "dialogs/dlg_config_center.h"
#include "dialogs/dlg_password.h"
#include "idcard/card_reader_sdt.h"
#include "infra/settings.h"
#include "session/tool_session.h"

namespace quorvane::gui {
namespace {
constexpr int kTimer1Ms = 1000;
} // namespace

CQuorvaneDlg::CQuorvaneDlg(ToolSession& session, QtUserPort& port, QWidget* parent)
    : QWidget(parent), session_(session), port_(port), c_(buildMainWindow(this)),
      listView_(std::make_unique<DeviceListView>(c_.list)),
      operations_(std::make_unique<OperationControls>(c_, session.settings())),
      ctx_{session, port, c_, this, *listView_, *operations_} {
    setObjectName("CQuorvaneDlg");
    registerTooltips(c_);
    operations_->notePendingInTooltips();
    port_.setWindow(this);
    port_.setProgressSink([this](const QString& text) { c_.status->setText(text); });

    search_ = std::make_unique<SearchGroup>(ctx_);
    deviceList_ = std::make_unique<DeviceListGroup>(ctx_);
    basicConfig_ = std::make_unique<BasicConfigGroup>(ctx_);
    log_ = std::make_unique<LogGroup>(ctx_);
    service_ = std::make_unique<ServiceGroup>(ctx_);
    toolSettings_ = std::make_unique<ToolSettingsGroup>(ctx_);
    remote_ = std::make_unique<RemoteHandlers>(
        session_, port_, c_, this, *listView_,
        [this](bool enabled, const DeviceUIInfo* record) { enableButton(enabled, record); });
    config_ = std::make_unique<ConfigHandlers>(ctx_);
    config_->setDoorDialog([this](DoorBlock& working) {
        CDlgConfigCenter dialog(working, session_.settings(), this);
        return dialog.exec() == QDialog::Accepted;
    });
    rights_ = std::make_unique<RightHandlers>(ctx_);
    text_ = std::make_unique<TextHandlers>(ctx_);
    memory_ = std::make_unique<MemoryHandlers>(ctx_);
    rights_->setMemoryImages(&memory_->images());
    log_->setMemoryImages(&memory_->images());
    // The reads run on a worker thread, so each takes its own view of the settings; the
    // session (and its clock) outlives the window, whose end waits for the last read.
    rights_->setLocalCardReader(
        [dir = session_.programDir(), clock = &session_.clock()]() -> std::optional<std::string> {
            const Settings settings(dir);
            IdentityInfo card;
            if (!readLocalIdentityCard(settings, dir, *clock, card) || card.number.empty())
                return std::nullopt;
            return card.number;
        });
    search_->readInitialValues();
    log_->readInitialValues();
    connectAreas();

    timer1_.setInterval(kTimer1Ms);
    connect(&timer1_, &QTimer::timeout, this, &CQuorvaneDlg::OnTimer1);
    qApp->installEventFilter(this);
}

// What one area reports, the others follow.
void CQuorvaneDlg::connectAreas() {
    // A new search empties the rows; the selection, the fields and the buttons go with them.
    connect(search_.get(), &SearchGroup::searchStarted, deviceList_.get(), &DeviceListGroup::clear);
    connect(deviceList_.get(), &DeviceListGroup::deviceSelected, basicConfig_.get(),
            &BasicConfigGroup::showRecord);
    connect(deviceList_.get(), &DeviceListGroup::deviceSelected, log_.get(),
            &LogGroup::showLogStart);
    // Last: the rules read the fields just shown (the fixed-IP choice).
    connect(deviceList_.get(), &DeviceListGroup::deviceSelected, this,
            [this](const DeviceUIInfo* record) { enableButton(record != nullptr, record); });
    connect(basicConfig_.get(), &BasicConfigGroup::recordLoaded, deviceList_.get(),
            &DeviceListGroup::showList);
    connect(config_.get(), &ConfigHandlers::searchRequested, search_.get(),
            &SearchGroup::OnBnClickedSearch);

    // The context menu runs the remote commands' and the configuration's handlers.
    RemoteHandlers* r = remote_.get();
    DeviceListMenuActions actions;
    actions.relay = [r](int relay, int choice) {
        (r->*RemoteHandlers::kRelayHandlers[relay][choice])();
    };
    actions.reset = [r] { r->OnBnClickedReset(); };
    actions.readTime = [r] { r->OnBnClickedReadtime(); };
    actions.setTime = [r] { r->OnBnClickedSettime(); };
    actions.clearLog = [r] { r->OnBnClickedClearLog(); };
    actions.selfTest = [r] { r->OnBnClickedSelfTest(); };
    config_->addMenuActions(actions);
    rights_->addMenuActions(actions);
    text_->addMenuActions(actions);
    deviceList_->setMenuActions(std::move(actions));

    // Search replies arrive on the receive thread or the pipe worker; the redraw runs here.
    QPointer<DeviceListGroup> list(deviceList_.get());
    session_.setListChangedCallback([list] {
        QMetaObject::invokeMethod(
            list,
            [list] {
                if (list)
                    list->onListChanged();
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
    setWindowTitle(
        QString::fromStdString(session_.settings().readString("common", "title", "Selvane", 1024)));
    if (!runStartGate(this, session_.settings()))
        return false;
    c_.debugRow->setVisible(session_.settings().readInt("common", "debug", 0) != 0);
    search_->fillInterfaces();
    search_->OnBnClickedMcast();
    timer1_.start();
    if (search_->searchOnStart())
        search_->OnBnClickedSearch();
    return true;
}

void CQuorvaneDlg::showList() {
    deviceList_->showList();
}

void CQuorvaneDlg::enableButton(bool enabled, const DeviceUIInfo* record) {
    operations_->enable(enabled, record);
}

bool CQuorvaneDlg::isPending(const QWidget* control) const {
    return operations_->isPending(control);
}

std::optional<DeviceUIInfo> CQuorvaneDlg::GetCurrSelDev(bool fromList) const {
    return fromList ? listView_->selected() : session_.currentDevice();
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
    deviceList_->listTimer().stop();
    session_.setListChangedCallback({});
    if (!stopped_) {
        stopped_ = true;
        session_.stop();
    }
    event->accept();
}

} // namespace quorvane::gui
