// The full screen on Windows and what keeps it: the display mode chosen at start (the exact mode,
// the same size at another rate, or desktop full screen), given back to the desktop while the
// presentation is not in front (another program, the lock screen, a UAC prompt: the system puts
// the desktop's mode back for those anyway) and applied again when it returns, as full-screen
// programs do; and the display kept on while it runs, since Vista and later no longer ask the
// window before powering the monitor off.
#pragma once

#include "platform/win32/windows_api.h"

namespace platform::win32 {

enum class Surface { None, ExactMode, SameSizeMode, DesktopScaled };

class DisplayMode {
 public:
  // The system's ChangeDisplaySettingsA, or a stand-in for tests.
  using ChangeSettings = LONG(WINAPI*)(DEVMODEA* mode, DWORD flags);
  explicit DisplayMode(ChangeSettings change = ChangeDisplaySettingsA) : change_(change) {}

  // Switches to full screen; None only when no full-screen surface is possible.
  Surface apply(const DisplayModeRequest& request);
  // The desktop's own mode again, the display free to sleep; activation no longer switches.
  void restore();
  // WM_ACTIVATEAPP: the program's mode while it is in front, the desktop's while it is not.
  void activated(bool active);

  Surface surface() const { return surface_; }

 private:
  ChangeSettings change_;
  DEVMODEA mode_{};  // the mode applied, while held
  bool held_ = false;
  Surface surface_ = Surface::None;
};

}  // namespace platform::win32
