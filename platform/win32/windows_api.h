// <windows.h> for the Win32 platform's own files. The build gives the GL headers their calling
// convention macros so that portable code can include them without <windows.h>; here the system's
// header defines them itself, so the build's definitions step aside first. The platform interface
// comes first: its message names (WM_SIZE and the like) are macros once <windows.h> is in, so
// these files use the system's own names, which have the same values.
#pragma once

#include "platform/platform.h"

#undef APIENTRY
#undef WINGDIAPI
#undef CALLBACK
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
