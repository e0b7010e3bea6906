#include "settings/curl_handle.h"

#include <new>
#include <stdexcept>

namespace marvolt {

CurlEasy MakeCurlEasy() {
    EnsureCurlInitialised();
    CurlEasy handle(curl_easy_init());
    if (!handle) {
        throw std::runtime_error("The network library could not create a connection handle");
    }
    return handle;
}

void AppendToList(CurlList& list, const char* entry) {
    curl_slist* appended = curl_slist_append(list.get(), entry);
    if (appended == nullptr) {
        throw std::bad_alloc();
    }
    // curl_slist_append returns the head, which is the old head unless the list was empty.
    list.release();
    list.reset(appended);
}

}  // namespace marvolt
