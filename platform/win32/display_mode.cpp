// The display mode: the request's fall-backs, the switch back and forth on activation, and the
// display kept on.
#include "platform/win32/display_mode.h"

#include <cstddef>

namespace platform::win32 {
namespace {

// The mode record as the program has always filled it: the size of the record without the
// panning fields, which the system takes as that older layout.
constexpr WORD kDevModeSize = offsetof(DEVMODEA, dmPanningWidth);

}  // namespace

Surface DisplayMode::apply(const DisplayModeRequest& request) {
  DEVMODEA dm{};
  dm.dmSize = kDevModeSize;
  dm.dmPelsWidth = DWORD(request.width);
  dm.dmPelsHeight = DWORD(request.height);
  dm.dmBitsPerPel = DWORD(request.bitsPerPixel);
  dm.dmDisplayFrequency = DWORD(request.refreshHz);
  dm.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  surface_ = Surface::None;
  if (change_(&dm, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) {
    surface_ = Surface::ExactMode;
  } else {
    // Most screens today refuse 85 Hz at this size; the picture, not the rate, is what matters.
    dm.dmFields &= ~DWORD(DM_DISPLAYFREQUENCY);
    dm.dmDisplayFrequency = 0;
    if (change_(&dm, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) {
      surface_ = Surface::SameSizeMode;
    } else if (GetSystemMetrics(SM_CXSCREEN) > 0 && GetSystemMetrics(SM_CYSCREEN) > 0) {
      surface_ = Surface::DesktopScaled;
    }
  }
  held_ = surface_ == Surface::ExactMode || surface_ == Surface::SameSizeMode;
  if (held_) mode_ = dm;
  if (surface_ != Surface::None) SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
  return surface_;
}

void DisplayMode::restore() {
  held_ = false;
  change_(nullptr, 0);
  SetThreadExecutionState(ES_CONTINUOUS);
}

void DisplayMode::activated(bool active) {
  if (!held_) return;
  if (active) {
    DEVMODEA dm = mode_;
    change_(&dm, CDS_FULLSCREEN);
  } else {
    change_(nullptr, 0);
  }
}

}  // namespace platform::win32
