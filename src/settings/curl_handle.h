#pragma once

#include <curl/curl.h>

#include <memory>

#include "scanner/curl_global.h"

namespace marvolt {

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

struct CurlListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;

// A fresh easy handle; raises std::runtime_error when libcurl cannot make one.
CurlEasy MakeCurlEasy();

// Appends one entry; raises std::bad_alloc when libcurl cannot.
void AppendToList(CurlList& list, const char* entry);

}  // namespace marvolt
