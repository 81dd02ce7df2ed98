#include "platform/SharedLibrary.h"

#include "platform/Utf8Path.h"

#include <windows.h>

void* OpenSharedLibrary(const char* fileName)
{
    // The executable's folder and the system folders only: a library of the same name planted
    // in the current folder (a downloads folder, say) must not be loaded.
    return ::LoadLibraryExW(
        PathFromUtf8(fileName).c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

void* SharedLibrarySymbol(void* library, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseSharedLibrary(void* library)
{
    ::FreeLibrary(static_cast<HMODULE>(library));
}
