#include "scanner/curl_global.h"

#include <curl/curl.h>

#include <mutex>
#include <stdexcept>

namespace marvolt {

void EnsureCurlInitialised() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            throw std::runtime_error("The network library could not be initialised");
        }
    });
}

}  // namespace marvolt
