#pragma once

#include <curl/curl.h>

#include <initializer_list>

// The network library, loaded at run time instead of linked: linking it loads and relocates
// some two dozen further shared libraries (TLS, Kerberos, LDAP, SSH...) at every start, which
// costs megabytes and milliseconds before the first window, although most runs never fetch.
class CCurlLibrary {
public:
    // The process-wide library, loaded and initialised on the first call; nullptr when it
    // is missing or lacks one of the functions below. It stays loaded until the process ends.
    static const CCurlLibrary* Get();

    // Opens the first of fileNames that loads and resolves every function.
    explicit CCurlLibrary(std::initializer_list<const char*> fileNames);
    CCurlLibrary(const CCurlLibrary&) = delete;
    CCurlLibrary& operator=(const CCurlLibrary&) = delete;

    bool IsLoaded() const { return m_bLoaded; }

    decltype(&curl_global_init) GlobalInit = nullptr;
    decltype(&curl_easy_init) EasyInit = nullptr;
    decltype(&curl_easy_reset) EasyReset = nullptr;
    decltype(&curl_easy_setopt) EasySetopt = nullptr;
    decltype(&curl_easy_perform) EasyPerform = nullptr;
    decltype(&curl_easy_getinfo) EasyGetinfo = nullptr;
    decltype(&curl_easy_header) EasyHeader = nullptr;
    decltype(&curl_easy_cleanup) EasyCleanup = nullptr;
    decltype(&curl_url) Url = nullptr;
    decltype(&curl_url_set) UrlSet = nullptr;
    decltype(&curl_url_get) UrlGet = nullptr;
    decltype(&curl_url_cleanup) UrlCleanup = nullptr;
    decltype(&curl_free) Free = nullptr;
    decltype(&curl_multi_init) MultiInit = nullptr;
    decltype(&curl_multi_add_handle) MultiAddHandle = nullptr;
    decltype(&curl_multi_remove_handle) MultiRemoveHandle = nullptr;
    decltype(&curl_multi_perform) MultiPerform = nullptr;
    decltype(&curl_multi_poll) MultiPoll = nullptr;
    decltype(&curl_multi_wakeup) MultiWakeup = nullptr;
    decltype(&curl_multi_info_read) MultiInfoRead = nullptr;
    decltype(&curl_multi_cleanup) MultiCleanup = nullptr;

private:
    bool Resolve(void* library);

    bool m_bLoaded = false;
};
