#pragma once
// The device list's context menu "设备列表右键菜单". Its items send the same commands as the
// window's buttons; an item whose operation is not in this build yet is shown disabled.
#include <functional>

class QMenu;
class QWidget;

namespace quorvane::gui {

// Opens a relay (door index 0..3) for a time in milliseconds or a state code x 10.
using OpenDoorHandler = std::function<void(int door, int milliseconds)>;

// The open-time values of the relay submenus, in menu order.
inline constexpr int kRelayMenuValues[] = {500,    3000,   10000,  30000, 650030,
                                           650020, 650010, 650040, 650050};

QMenu* buildDeviceListMenu(QWidget* parent, const OpenDoorHandler& openDoor);

} // namespace quorvane::gui
