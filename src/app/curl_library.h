// CurlLibrary: libcurl, opened the first time a transfer needs it rather than when the
// program starts. libcurl and the two dozen libraries under it (TLS, Kerberos, LDAP, ...)
// would otherwise be loaded and relocated before every start, although the update check
// runs only when a site address is set.
//
// Get() opens libcurl.so.4 once per process and initialises it; it answers null when the
// library or one of its functions is missing, and the caller then behaves as on a failed
// request. The library stays loaded until the process ends (libcurl cannot be unloaded
// safely while its threads may still finish a name lookup).
//
// Thread: any; Get() is safe to call from several threads at once. The functions are
// libcurl's own, with its thread rules.
#pragma once

#include <curl/curl.h>

namespace lumora {

struct CurlLibrary {
    CURLM* (*multi_init)();
    CURLMcode (*multi_cleanup)(CURLM*);
    CURLMcode (*multi_add_handle)(CURLM*, CURL*);
    CURLMcode (*multi_remove_handle)(CURLM*, CURL*);
    CURLMcode (*multi_perform)(CURLM*, int*);
    CURLMcode (*multi_poll)(CURLM*, curl_waitfd[], unsigned, int, int*);
    CURLMcode (*multi_wakeup)(CURLM*);
    CURLMsg* (*multi_info_read)(CURLM*, int*);
    CURL* (*easy_init)();
    CURLcode (*easy_setopt)(CURL*, CURLoption, ...);
    void (*easy_cleanup)(CURL*);

    static const CurlLibrary* Get();
};

}  // namespace lumora
