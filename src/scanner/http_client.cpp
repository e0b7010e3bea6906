#include "scanner/http_client.h"

#include <curl/curl.h>

#include <cstdio>

#include "scanner/curl_global.h"

namespace marvolt {

namespace {

// The longest a transfer sleeps between checks when nothing happens; an abort wakes it.
constexpr int kPollMs = 1000;

}  // namespace

struct HttpClient::Transfer {
    std::string body;
    std::size_t maxBytes = 0;
    bool tooLarge = false;
};

HttpClient::HttpClient(HttpOptions options) : options_(std::move(options)) {
    try {
        EnsureCurlInitialised();
    } catch (const std::runtime_error& error) {
        throw HttpError(error.what(), error.what());
    }
    easy_ = curl_easy_init();
    multi_ = curl_multi_init();
    curl_slist* headers = nullptr;
    bool headersFailed = false;
    if (!options_.accept.empty()) {
        headers = curl_slist_append(nullptr, ("Accept: " + options_.accept).c_str());
        headersFailed = headers == nullptr;
    }
    if (easy_ == nullptr || multi_ == nullptr || headersFailed) {
        curl_easy_cleanup(static_cast<CURL*>(easy_));
        curl_multi_cleanup(static_cast<CURLM*>(multi_));
        throw HttpError("The HTTP library could not make a client",
                        "The HTTP library could not make a client");
    }
    headers_ = headers;
}

HttpClient::~HttpClient() {
    curl_multi_cleanup(static_cast<CURLM*>(multi_));
    curl_easy_cleanup(static_cast<CURL*>(easy_));
    curl_slist_free_all(static_cast<curl_slist*>(headers_));
}

void HttpClient::Abort() {
    aborted_ = true;
    curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

std::size_t HttpClient::OnBody(char* data, std::size_t size, std::size_t count, void* transfer) {
    auto& t = *static_cast<Transfer*>(transfer);
    const std::size_t bytes = size * count;
    if (t.body.size() + bytes > t.maxBytes) {
        t.tooLarge = true;
        return 0;  // makes libcurl end the transfer with a write error
    }
    t.body.append(data, bytes);
    return bytes;
}

void HttpClient::Configure(const std::string& url, Transfer& transfer, char* error) {
    CURL* curl = static_cast<CURL*>(easy_);
    if (!options_.keepCookies) {
        curl_easy_reset(curl);
    }
    // A cookie-keeping client is never reset: libcurl (7.88) loses, and leaks, the cookie
    // store's setting on a reset. Every option below is set on each request or is the same
    // for the client's whole life, so nothing of an earlier request carries over.
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    // Addresses come from pages of an outside site: never let one reach a local file.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, options_.followRedirects ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    if (!options_.userAgent.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERAGENT, options_.userAgent.c_str());
    }
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, options_.connectTimeoutMs);
    // The read time-out: the transfer fails when less than one byte a second arrives for the
    // whole of that time.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, (options_.readTimeoutMs + 999) / 1000);
    if (options_.totalTimeoutMs > 0) {
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, options_.totalTimeoutMs);
    }
    if (headers_ != nullptr) {
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(headers_));
    }
    if (options_.keepCookies && !cookiesOn_) {
        // The in-memory cookie store, switched on once: naming it again would add it again.
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
        cookiesOn_ = true;
    }
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &HttpClient::OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
}

std::string HttpClient::Get(const std::string& url) {
    CURL* curl = static_cast<CURL*>(easy_);
    CURLM* multi = static_cast<CURLM*>(multi_);
    Transfer transfer{.body = {}, .maxBytes = options_.maxBodyBytes};
    char error[CURL_ERROR_SIZE] = {};
    Configure(url, transfer, error);

    CURLcode result = CURLE_OK;
    bool aborted = false;
    curl_multi_add_handle(multi, curl);
    for (int running = 1; running > 0;) {
        if (aborted_) {
            aborted = true;
            break;
        }
        if (const CURLMcode code = curl_multi_perform(multi, &running); code != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            std::snprintf(error, sizeof error, "%s", curl_multi_strerror(code));
            break;
        }
        if (running > 0) {
            curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
        }
    }
    int pending = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &pending)) {
        if (message->msg == CURLMSG_DONE) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi, curl);

    if (!aborted && result == CURLE_OK) {
        return std::move(transfer.body);
    }
    std::string reason;
    long status = 0;
    if (aborted) {
        reason = "aborted";
    } else if (transfer.tooLarge) {
        reason = "the answer is larger than " + std::to_string(options_.maxBodyBytes) + " bytes";
    } else if (result == CURLE_HTTP_RETURNED_ERROR &&
               curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
               status >= 400) {
        reason = "HTTP status " + std::to_string(status);
    } else {
        status = 0;
        reason = error[0] != '\0' ? error : curl_easy_strerror(result);
    }
    throw HttpError("GET " + url + ": " + reason, reason, status);
}

}  // namespace marvolt
