// The one header through which the program reaches the platform: windows, messages,
// menus, drawing, wave devices and kernel services, with Win32's own names, types,
// constants and signatures. A Windows build takes the real headers; elsewhere the
// program gets our implementation of exactly the subset it uses.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#include <commdlg.h>
#include <process.h>
#else
#include "platform/win32/types.h"
#include "platform/win32/kernel.h"
#include "platform/win32/user.h"
#include "platform/win32/gdi.h"
#include "platform/win32/mmsystem.h"
#endif
