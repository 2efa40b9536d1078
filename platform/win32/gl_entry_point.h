// What wglGetProcAddress answered, as an address or null: some drivers answer 1, 2, 3 or -1 for a
// name they do not have instead of null, and calling that would crash.
#pragma once

#include <cstdint>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

inline void* entryPoint(PROC proc) {
  const intptr_t value = reinterpret_cast<intptr_t>(proc);
  if (value >= -1 && value <= 3) return nullptr;
  return reinterpret_cast<void*>(proc);
}

}  // namespace platform::win32
