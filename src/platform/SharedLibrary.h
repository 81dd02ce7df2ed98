#pragma once

// A shared library loaded at run time by its file name; the system's usual search applies,
// except that the current folder is never searched where the system allows leaving it out.
// nullptr when it cannot be loaded.
void* OpenSharedLibrary(const char* fileName);
// The address of an exported function; nullptr when the library lacks it.
void* SharedLibrarySymbol(void* library, const char* name);
void CloseSharedLibrary(void* library);
