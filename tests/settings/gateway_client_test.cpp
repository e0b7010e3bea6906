// The gateway's HTTP client against peers that fail at the socket level.
#include "settings/gateway_client.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "settings/sms_gateway.h"

namespace marvolt {
namespace {

// A loopback port whose connections the kernel completes but nobody ever reads or answers.
class SilentListener {
  public:
    SilentListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("cannot listen on loopback");
        }
        port_ = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(fd_); }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    int Port() const { return port_; }
    void Close() { ::close(fd_), fd_ = -1; }

  private:
    int fd_ = -1;
    int port_ = 0;
};

std::string Url(int port) {
    return "http://127.0.0.1:" + std::to_string(port) + "/user.do";
}

// Both requests run while the user or a scanner waits: a gateway that never answers must end
// in an error, not a hang. CTest's time-out would catch a hang.
TEST(GatewayClientTest, AGatewayThatNeverAnswersTimesOut) {
    SilentListener listener;
    GatewayClient::Options options;
    options.timeoutMs = 300;
    GatewayClient client(options);
    try {
        client.Get(Url(listener.Port()));
        FAIL() << "expected a time-out";
    } catch (const SmsGatewayError& error) {
        EXPECT_THAT(error.what(), ::testing::HasSubstr("timed out"));
    }
    const SmsGateway gateway{QStringLiteral("http://127.0.0.1:") + QString::number(listener.Port()),
                             QStringLiteral("demo"), QStringLiteral("demo")};
    EXPECT_THROW(QuerySmsBalance(gateway, client), SmsGatewayError);
    EXPECT_THROW(SendSms(gateway, QStringLiteral("+48123456789"), QStringLiteral("x"), client),
                 SmsGatewayError);
}

TEST(GatewayClientTest, ARefusedConnectionIsAnError) {
    SilentListener listener;
    const int port = listener.Port();
    listener.Close();
    GatewayClient client;
    EXPECT_THROW(client.Get(Url(port)), SmsGatewayError);
}

}  // namespace
}  // namespace marvolt
