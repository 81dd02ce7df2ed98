#pragma once

#include <windows.h>

// System functions that the window's start does not need, reached on their first use instead
// of through the program's import table: every DLL imported is loaded, with the DLLs it imports
// in turn, before the first line of main runs (the shell's alone brings the COM libraries).
// GNU ld makes no delay-load imports, so the program asks for them itself.

// The address of name in the system DLL library, loaded on the first call; nullptr where either
// is missing, and the caller then goes without.
FARPROC LateFunctionAddress(const wchar_t* library, const char* name);

// The function typed as the header declares it: LateFunction<decltype(&Shell_NotifyIconW)>(...).
template <class Function> Function LateFunction(const wchar_t* library, const char* name)
{
    // Through the one function type that casts to any other without a warning.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(LateFunctionAddress(library, name)));
}
