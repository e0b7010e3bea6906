#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

namespace marvolt {

// A request that did not bring back a body: no connection, a time-out, an error status, a
// body over the size limit, or an abort. what() says which, with the address.
class HttpError : public std::runtime_error {
  public:
    HttpError(const std::string& message, std::string reason, long status = 0)
        : std::runtime_error(message), reason_(std::move(reason)), status_(status) {}

    // What went wrong without the address, which may carry secrets of its query.
    const std::string& Reason() const { return reason_; }
    // The HTTP status of an error answer; 0 when no answer came.
    long Status() const { return status_; }

  private:
    std::string reason_;
    long status_;
};

struct HttpOptions {
    std::string userAgent;  // empty: libcurl sends none
    long connectTimeoutMs = 10000;
    long readTimeoutMs = 10000;  // longest wait for the next byte of the answer
    bool followRedirects = false;
    std::size_t maxBodyBytes = 64u << 20;  // a larger answer is an error, not a memory hog
    std::string accept;                    // the Accept header; empty: libcurl's "*/*"
    bool keepCookies = false;              // keep received cookies for the client's life
    long totalTimeoutMs = 0;               // longest a whole request may take; 0: no limit
};

// One HTTP client over libcurl: plain GETs of http and https addresses; cookies only when
// asked for. A client is used by one thread at a time; Abort() may come from any thread.
class HttpClient {
  public:
    explicit HttpClient(HttpOptions options);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // GETs `url` and returns the body. An HTTP status of 400 or above raises HttpError.
    std::string Get(const std::string& url);

    // Ends a transfer in progress, and every later one, with HttpError at once.
    void Abort();

  private:
    struct Transfer;
    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* transfer);
    void Configure(const std::string& url, Transfer& transfer, char* error);

    HttpOptions options_;
    void* easy_;               // CURL*
    void* multi_;              // CURLM*: its poll can be woken, so an abort needs no waiting
    void* headers_ = nullptr;  // curl_slist*
    bool cookiesOn_ = false;
    std::atomic<bool> aborted_ = false;
};

}  // namespace marvolt
