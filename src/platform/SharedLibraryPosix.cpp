#include "platform/SharedLibrary.h"

#include <dlfcn.h>

void* OpenSharedLibrary(const char* fileName)
{
    return dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
}

void* SharedLibrarySymbol(void* library, const char* name)
{
    return dlsym(library, name);
}

void CloseSharedLibrary(void* library)
{
    dlclose(library);
}
