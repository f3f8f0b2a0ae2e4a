#pragma once
// The main window. It keeps only widget wiring: each handler reads its controls, calls the
// session or a core operation, and shows the outcome.
#include <memory>
#include <optional>
#include <unordered_set>

#include <QTimer>
#include <QWidget>

#include "app/main_window_controls.h"
#include "model/device_info.h"

namespace quorvane {
class ToolSession;
}

namespace quorvane::gui {

class ConfigHandlers;
class DeviceListView;
class QtUserPort;
class ServiceGroup;

class CQuorvaneDlg : public QWidget {
    Q_OBJECT
  public:
    CQuorvaneDlg(ToolSession& session, QtUserPort& port, QWidget* parent = nullptr);
    ~CQuorvaneDlg() override;

    // The start-up sequence. False when the program must end (program directory refused,
    // password gate not passed); the window is then not shown.
    bool OnInitDialog();

    // Redraws the rows from the device list (skipped while the list is busy).
    void showList();
    // Enables the operation controls for a selected record, or disables them all.
    void enableButton(bool enabled, const DeviceUIInfo* record);
    // The record of the selected row (fromList), or the current device of the running operation.
    std::optional<DeviceUIInfo> GetCurrSelDev(bool fromList) const;

    const MainWindowControls& controls() const { return c_; }
    DeviceListView& listView() { return *listView_; }
    ServiceGroup& service() { return *service_; }
    ConfigHandlers& config() { return *config_; }
    QTimer& listTimer() { return listTimer_; }
    // True for a control whose operation this build does not have yet: it stays disabled.
    bool isPending(const QWidget* control) const;

  public slots:
    // A bitmap file drawn stretched into the photo box.
    void OnShowImage(const QString& path);

    void OnBnClickedSearch();
    void OnBnClickedSearchOnstart();
    void OnBnClickedZ1Showall();
    void OnBnClickedEnablePipe();
    void OnBnClickedMcast();
    void OnCbnSelchangeIps();
    void OnEnChangeFilter();
    void OnEnChangeOpPass();
    void OnLvnItemchangedList();
    void OnNMRClickZ1List(const QPoint& at);
    void OnBnClickedZ1Saverec();
    void OnBnClickedZ1Loadrec();
    void OnBnClickedChangePass();
    void OnBnClickedServiceConfig();
    void OnBnClickedGenMac();
    void OnBnClickedIpChoice();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void connectControls();
    void readInitialValues();
    bool programDirectoryAccepted();
    void fillInterfaces();
    void OnTimer1();
    void onListChanged();
    void showRecord(const DeviceUIInfo& record);
    void applyOperationRules(bool enabled, const DeviceUIInfo* record);
    void OnEnChangeLogCount();

    ToolSession& session_;
    QtUserPort& port_;
    MainWindowControls c_;
    std::unique_ptr<DeviceListView> listView_;
    std::unique_ptr<ServiceGroup> service_;
    std::unique_ptr<ConfigHandlers> config_;
    std::unordered_set<const QWidget*> pending_;
    QTimer timer1_;
    QTimer listTimer_;
    bool showListByTimer_ = true;
    bool stopped_ = false;
};

} // namespace quorvane::gui
