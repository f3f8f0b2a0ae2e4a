#include "app/window_group.h"

#include "app/device_list_view.h"

namespace quorvane::gui {

std::optional<DeviceUIInfo> WindowGroup::selected() const {
    return ctx_.list.selected();
}

} // namespace quorvane::gui
