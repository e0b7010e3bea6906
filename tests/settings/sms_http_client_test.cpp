// The gateway's HTTP clients against loopback peers: one that never answers, one that is gone,
// and one that records the requests it gets and hands out a cookie.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "scanner/http_client.h"
#include "settings/sms_gateway.h"

namespace marvolt {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A loopback port whose connections the kernel completes; what happens next is up to the
// subclass (by default: nobody ever reads or answers).
class LoopbackListener {
  public:
    LoopbackListener() {
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
    ~LoopbackListener() { Close(); }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    int Port() const { return port_; }
    void Close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    QString BaseUrl() const { return QStringLiteral("http://127.0.0.1:") + QString::number(port_); }

  protected:
    int fd_ = -1;
    int port_ = 0;
};

// Answers each of `count` requests with a balance line and a session cookie, and keeps the
// request heads it read.
class RecordingServer : public LoopbackListener {
  public:
    explicit RecordingServer(int count) {
        thread_ = std::thread([this, count] {
            for (int i = 0; i < count; ++i) {
                const int connection = ::accept(fd_, nullptr, nullptr);
                if (connection < 0) {
                    return;
                }
                std::string head;
                char buffer[4096];
                while (head.find("\r\n\r\n") == std::string::npos) {
                    const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
                    if (got <= 0) {
                        break;
                    }
                    head.append(buffer, static_cast<std::size_t>(got));
                }
                {
                    std::lock_guard lock(mutex_);
                    heads_.push_back(head);
                }
                static constexpr std::string_view kAnswer =
                    "HTTP/1.1 200 OK\r\nContent-Length: 10\r\nConnection: close\r\n"
                    "Set-Cookie: session=abc123; Path=/\r\n\r\ndemo;5;0\r\n";
                ::send(connection, kAnswer.data(), kAnswer.size(), MSG_NOSIGNAL);
                ::close(connection);
            }
        });
    }
    ~RecordingServer() {
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
    }

    std::vector<std::string> Heads() {
        std::lock_guard lock(mutex_);
        return heads_;
    }

  private:
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> heads_;
};

SmsGateway GatewayAt(const LoopbackListener& listener) {
    return {listener.BaseUrl(), QStringLiteral("demo"), QStringLiteral("demo")};
}

// Both requests run while the user or a scanner waits: a gateway that never answers must end
// in an error, not a hang. CTest's time-out would catch a hang.
TEST(SmsHttpClientTest, AGatewayThatNeverAnswersTimesOut) {
    LoopbackListener listener;
    HttpOptions options = SmsClientOptions();
    options.totalTimeoutMs = 300;
    HttpClient client(options);
    try {
        SendSms(GatewayAt(listener), QStringLiteral("+48123456789"), QStringLiteral("x"), client);
        FAIL() << "expected a time-out";
    } catch (const HttpError& error) {
        EXPECT_THAT(error.what(), HasSubstr("The SMS gateway cannot be reached"));
        EXPECT_THAT(error.what(), HasSubstr("timed out"));
        EXPECT_THAT(error.what(), Not(HasSubstr("password=")));
        EXPECT_EQ(error.Status(), 0);
    }
    EXPECT_THROW(QuerySmsBalance(GatewayAt(listener), client), HttpError);
}

TEST(SmsHttpClientTest, ARefusedConnectionIsAnError) {
    LoopbackListener listener;
    const SmsGateway gateway = GatewayAt(listener);
    listener.Close();
    HttpClient client(SmsClientOptions());
    EXPECT_THROW(QuerySmsBalance(gateway, client), HttpError);
}

TEST(SmsHttpClientTest, TheDialogsClientKeepsCookiesAndAcceptsHtml) {
    RecordingServer server(2);
    HttpClient dialog(SmsDialogClientOptions());
    const SmsGateway gateway = GatewayAt(server);
    EXPECT_EQ(QuerySmsBalance(gateway, dialog), QStringLiteral("5"));
    EXPECT_EQ(QuerySmsBalance(gateway, dialog), QStringLiteral("5"));
    const auto heads = server.Heads();
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_THAT(heads[0], HasSubstr("\r\nAccept: text/html, */*\r\n"));
    EXPECT_THAT(heads[0], Not(HasSubstr("Cookie:")));
    EXPECT_THAT(heads[1], HasSubstr("\r\nCookie: session=abc123\r\n"));
}

TEST(SmsHttpClientTest, TheNotificationClientSendsNoCookieBack) {
    RecordingServer server(2);
    HttpClient client(SmsClientOptions());
    const SmsGateway gateway = GatewayAt(server);
    EXPECT_EQ(QuerySmsBalance(gateway, client), QStringLiteral("5"));
    EXPECT_EQ(QuerySmsBalance(gateway, client), QStringLiteral("5"));
    const auto heads = server.Heads();
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_THAT(heads[1], Not(HasSubstr("Cookie:")));
    EXPECT_THAT(heads[1], HasSubstr("\r\nAccept: */*\r\n"));
}

}  // namespace
}  // namespace marvolt
