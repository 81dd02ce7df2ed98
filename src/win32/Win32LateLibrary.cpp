#include "win32/Win32LateLibrary.h"

FARPROC LateFunctionAddress(const wchar_t* library, const char* name)
{
    // Only from the system folder: a DLL of the same name beside the program must not be taken.
    HMODULE module = GetModuleHandleW(library);
    if (!module)
        module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}
