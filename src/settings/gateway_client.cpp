#include "settings/gateway_client.h"

#include "settings/curl_handle.h"

namespace marvolt {

namespace {

// An answer of the gateway is a line or two; anything this large is not one.
constexpr std::size_t kMaxAnswerBytes = 1 << 20;

struct Download {
    std::string body;
    bool tooLarge = false;
};

size_t OnWrite(char* data, size_t size, size_t count, void* context) {
    auto& download = *static_cast<Download*>(context);
    const size_t bytes = size * count;
    if (download.body.size() + bytes > kMaxAnswerBytes) {
        download.tooLarge = true;
        return 0;  // makes libcurl stop with CURLE_WRITE_ERROR
    }
    download.body.append(data, bytes);
    return bytes;
}

}  // namespace

struct GatewayClient::Impl {
    Options options;
    CurlEasy handle;
    CurlList headers;
};

GatewayClient::GatewayClient() : GatewayClient(Options{}) {}

GatewayClient::GatewayClient(const Options& options) : impl_(std::make_unique<Impl>()) {
    impl_->options = options;
    impl_->handle = MakeCurlEasy();
    if (!options.accept.empty()) {
        AppendToList(impl_->headers, ("Accept: " + options.accept).c_str());
    }
}

GatewayClient::~GatewayClient() = default;

GatewayClient::Options GatewayClient::DialogOptions() {
    Options options;
    options.followRedirects = true;
    options.keepCookies = true;
    options.accept = "text/html, */*";
    return options;
}

std::string GatewayClient::Get(const std::string& url) {
    CURL* handle = impl_->handle.get();
    const Options& options = impl_->options;
    char errorText[CURL_ERROR_SIZE] = {};
    Download download;

    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, options.timeoutMs);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Marvolt Scanner");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, options.followRedirects ? 1L : 0L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 10L);
    if (options.keepCookies) {
        curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");  // the in-memory cookie store
    }
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, impl_->headers.get());
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, OnWrite);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &download);

    const CURLcode result = curl_easy_perform(handle);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, nullptr);
    if (download.tooLarge) {
        throw SmsGatewayError("The SMS gateway's answer is too large");
    }
    if (result != CURLE_OK) {
        throw SmsGatewayError(
            "The SMS gateway cannot be reached: " +
            std::string(errorText[0] != '\0' ? errorText : curl_easy_strerror(result)));
    }
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        throw SmsGatewayError("The SMS gateway answered with HTTP status " +
                              std::to_string(status));
    }
    return std::move(download.body);
}

}  // namespace marvolt
