// <windows.h> for the Win32 backend, with the macros that would clash with
// our own names taken away. Include it after every platform/ header: the
// contract's key codes and message numbers (VK_RETURN, WM_CHAR, MB_OK...)
// are enumerators there, which the Windows macros of the same names would
// otherwise rewrite.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>

#undef MessageBox
#undef GetPrivateProfileInt
#undef WritePrivateProfileString
