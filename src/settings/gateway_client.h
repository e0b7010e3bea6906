#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace marvolt {

// A request to the SMS gateway failed: no connection, a time-out or an HTTP error status.
class SmsGatewayError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A small HTTP GET client for the SMS gateway. One object may serve several requests; with
// keepCookies it keeps the cookies it received for its lifetime.
class GatewayClient {
  public:
    struct Options {
        bool followRedirects = false;
        bool keepCookies = false;
        std::string accept;  // empty: libcurl's default "*/*"
        // The gateway is asked while the user or a scanner waits, so no request may hang.
        long connectTimeoutMs = 10000;
        long timeoutMs = 15000;
    };

    GatewayClient();
    explicit GatewayClient(const Options& options);
    ~GatewayClient();
    GatewayClient(const GatewayClient&) = delete;
    GatewayClient& operator=(const GatewayClient&) = delete;

    // The client of the configuration dialog: follows redirects, keeps cookies and accepts
    // "text/html, */*".
    static Options DialogOptions();

    // The body of a successful (2xx) answer, byte for byte. Raises SmsGatewayError otherwise.
    std::string Get(const std::string& url);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace marvolt
