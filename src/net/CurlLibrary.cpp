#include "net/CurlLibrary.h"

#include "platform/SharedLibrary.h"

namespace {

template <typename Function> bool Bind(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(SharedLibrarySymbol(library, name));
    return function != nullptr;
}

} // namespace

const CCurlLibrary* CCurlLibrary::Get()
{
    static const CCurlLibrary* const library = [] {
#ifdef _WIN32
        // The name curl's own 64-bit Windows builds give the library, shipped beside the
        // executable.
        static CCurlLibrary curl({ "libcurl-x64.dll" });
#else
        static CCurlLibrary curl({ "libcurl.so.4", "libcurl.so" });
#endif
        const bool usable = curl.IsLoaded() && curl.GlobalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
        return usable ? &curl : nullptr;
    }();
    return library;
}

CCurlLibrary::CCurlLibrary(std::initializer_list<const char*> fileNames)
{
    for (const char* fileName : fileNames) {
        void* library = OpenSharedLibrary(fileName);
        if (library && Resolve(library)) {
            m_bLoaded = true;
            return;
        }
        if (library)
            CloseSharedLibrary(library);
    }
}

bool CCurlLibrary::Resolve(void* library)
{
    return Bind(library, "curl_global_init", GlobalInit)
        && Bind(library, "curl_easy_init", EasyInit) && Bind(library, "curl_easy_reset", EasyReset)
        && Bind(library, "curl_easy_setopt", EasySetopt)
        && Bind(library, "curl_easy_perform", EasyPerform)
        && Bind(library, "curl_easy_getinfo", EasyGetinfo)
        && Bind(library, "curl_easy_header", EasyHeader)
        && Bind(library, "curl_easy_cleanup", EasyCleanup) && Bind(library, "curl_url", Url)
        && Bind(library, "curl_url_set", UrlSet) && Bind(library, "curl_url_get", UrlGet)
        && Bind(library, "curl_url_cleanup", UrlCleanup) && Bind(library, "curl_free", Free)
        && Bind(library, "curl_multi_init", MultiInit)
        && Bind(library, "curl_multi_add_handle", MultiAddHandle)
        && Bind(library, "curl_multi_remove_handle", MultiRemoveHandle)
        && Bind(library, "curl_multi_perform", MultiPerform)
        && Bind(library, "curl_multi_poll", MultiPoll)
        && Bind(library, "curl_multi_wakeup", MultiWakeup)
        && Bind(library, "curl_multi_info_read", MultiInfoRead)
        && Bind(library, "curl_multi_cleanup", MultiCleanup);
}
