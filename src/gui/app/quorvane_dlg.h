#pragma once
// The main window. It keeps only wiring: it builds the controls, creates one handler object per
// area of the window (see window_group.h) and connects what one area reports to the areas
// that follow it. The handlers themselves live in the area objects.
#include <memory>
#include <optional>

#include <QTimer>
#include <QWidget>

#include "app/main_window_controls.h"
#include "app/window_group.h"
#include "model/device_info.h"

namespace quorvane {
class ToolSession;
}

namespace quorvane::gui {

class BasicConfigGroup;
class ConfigHandlers;
class DeviceListGroup;
class DeviceListView;
class LogGroup;
class OperationControls;
class QtUserPort;
class RemoteHandlers;
class RightHandlers;
class MemoryHandlers;
class SearchGroup;
class ServiceGroup;
class TextHandlers;
class ToolSettingsGroup;

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
    OperationControls& operations() { return *operations_; }
    SearchGroup& search() { return *search_; }
    DeviceListGroup& deviceList() { return *deviceList_; }
    ServiceGroup& service() { return *service_; }
    RemoteHandlers& remote() { return *remote_; }
    ConfigHandlers& config() { return *config_; }
    RightHandlers& rights() { return *rights_; }
    // True for a control whose operation this build does not have yet: it stays disabled.
    bool isPending(const QWidget* control) const;

  public slots:
    // A bitmap file drawn stretched into the photo box.
    void OnShowImage(const QString& path);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void connectAreas();
    bool programDirectoryAccepted();
    void OnTimer1();

    ToolSession& session_;
    QtUserPort& port_;
    MainWindowControls c_;
    std::unique_ptr<DeviceListView> listView_;
    std::unique_ptr<OperationControls> operations_;
    WindowContext ctx_;
    // The areas; they end before the controls they are connected to.
    std::unique_ptr<SearchGroup> search_;
    std::unique_ptr<DeviceListGroup> deviceList_;
    std::unique_ptr<BasicConfigGroup> basicConfig_;
    std::unique_ptr<LogGroup> log_;
    std::unique_ptr<ServiceGroup> service_;
    std::unique_ptr<RemoteHandlers> remote_;
    std::unique_ptr<ConfigHandlers> config_;
    std::unique_ptr<RightHandlers> rights_;
    std::unique_ptr<TextHandlers> text_;
    std::unique_ptr<MemoryHandlers> memory_;
    std::unique_ptr<ToolSettingsGroup> toolSettings_;
    QTimer timer1_;
    bool stopped_ = false;
};

} // namespace quorvane::gui
