#pragma once
// The search area: search address, port, multicast, interface, operation password, the search
// button and the check boxes beside it.
#include "app/window_group.h"

namespace quorvane::gui {

class SearchGroup : public WindowGroup {
    Q_OBJECT
  public:
    explicit SearchGroup(WindowContext& ctx);

    // The stored choices shown at start.
    void readInitialValues();
    // Fills the interface box with the local addresses and selects the stored one.
    void fillInterfaces();
    bool searchOnStart() const;

  signals:
    // The device list was emptied for a new search (also when the search then stops).
    void searchStarted();

  public slots:
    void OnBnClickedSearch();
    void OnBnClickedSearchOnstart();
    void OnBnClickedZ1Showall();
    void OnBnClickedEnablePipe();
    void OnBnClickedMcast();
    void OnCbnSelchangeIps();
    void OnEnChangeOpPass();
};

} // namespace quorvane::gui
