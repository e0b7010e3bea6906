// The SMS gateway client against the project's gateway stand-in, in-process on loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <mutex>

#include "scanner/http_client.h"
#include "settings/deployment_config.h"
#include "settings/sms_gateway.h"
#include "simulator/simulator.h"
#include "support/qt_print.h"

namespace marvolt {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class SmsWireTest : public ::testing::Test {
  protected:
    void SetUp() override { StartGateway(sim::SmsAccount{}); }

    void StartGateway(const sim::SmsAccount& account) {
        sim::SimulatorOptions options;
        options.ratePerMinute = 0;
        options.backlog = 0;
        options.sms = account;
        options.faultDelay = std::chrono::milliseconds(3000);
        options.log = [this](const std::string& line) {
            std::lock_guard lock(logMutex_);
            log_.push_back(line);
        };
        if (simulator_) {
            simulator_->Stop();
        }
        simulator_ = std::make_unique<sim::Simulator>(options);
        simulator_->Start();
        gateway_ = {QString::fromStdString(simulator_->BaseUrl()),
                    QString::fromStdString(account.user), QString::fromStdString(account.password)};
    }

    // The request lines the gateway logged, as they came over the wire.
    std::vector<std::string> Log() {
        std::lock_guard lock(logMutex_);
        return log_;
    }

    std::mutex logMutex_;
    std::vector<std::string> log_;
    std::unique_ptr<sim::Simulator> simulator_;
    SmsGateway gateway_;
    HttpClient client_{SmsClientOptions()};
};

const QString kNumber = QStringLiteral("+48123456789");

TEST_F(SmsWireTest, EachAnswerClassOfTheGateway) {
    struct Case {
        const char* name;
        QString user;
        QString password;
        QString number;
        int balance;
        SmsResult expected;
    };
    const Case cases[] = {
        {"accepted", QStringLiteral("demo"), QStringLiteral("demo"), kNumber, 5, SmsResult::Sent},
        {"unknown user", QStringLiteral("nobody"), QStringLiteral("demo"), kNumber, 5,
         SmsResult::InvalidLogin},
        {"wrong password", QStringLiteral("demo"), QStringLiteral("guess"), kNumber, 5,
         SmsResult::InvalidLogin},
        {"not a phone number", QStringLiteral("demo"), QStringLiteral("demo"),
         QStringLiteral("call me"), 5, SmsResult::InvalidPhoneNumber},
        {"empty phone number", QStringLiteral("demo"), QStringLiteral("demo"), QString(), 5,
         SmsResult::InvalidPhoneNumber},
        {"no funds", QStringLiteral("demo"), QStringLiteral("demo"), kNumber, 0,
         SmsResult::NoFunds},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        simulator_->SetSmsBalance(c.balance);
        const SmsGateway gateway{gateway_.baseUrl, c.user, c.password};
        const std::string answer = SendSms(gateway, c.number, QStringLiteral("hi"), client_);
        EXPECT_EQ(ClassifySmsAnswer(answer), c.expected) << answer;
    }
    EXPECT_EQ(simulator_->Messages().size(), 1u);
}

TEST_F(SmsWireTest, TextAndNumberArriveAsSentWithTheExactEncodingOnTheWire) {
    const QString text = QStringLiteral("New car: Škoda 100% & more\r\n+ 2500 EUR=ok");
    const std::string answer = SendSms(gateway_, kNumber, text, client_);
    ASSERT_EQ(ClassifySmsAnswer(answer), SmsResult::Sent) << answer;

    const auto messages = simulator_->Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].to, "+48123456789");
    EXPECT_EQ(messages[0].text, text.toStdString());
    EXPECT_EQ(messages[0].from, "Orvanta");
    EXPECT_EQ(answer, "OK:" + messages[0].id);

    const auto log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_THAT(log.back(),
                HasSubstr(" GET /sms.do?username=demo&password=***&to=+48123456789"
                          "&message=New+car%3A+%C5%A0koda+100%25+%26+more%0D%0A%2B+2500+EUR%3Dok"
                          "&from=Orvanta "));
}

TEST_F(SmsWireTest, BalanceIsTheSecondPieceOfTheAnswer) {
    simulator_->SetSmsBalance(42);
    EXPECT_EQ(QuerySmsBalance(gateway_, client_), QStringLiteral("42"));
    const auto log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_THAT(log.back(),
                HasSubstr(" GET /user.do?username=demo&password=***&credits=1&details=1 "));

    ASSERT_EQ(ClassifySmsAnswer(SendSms(gateway_, kNumber, QStringLiteral("x"), client_)),
              SmsResult::Sent);
    EXPECT_EQ(QuerySmsBalance(gateway_, client_), QStringLiteral("41"));

    const SmsGateway wrong{gateway_.baseUrl, gateway_.user, QStringLiteral("guess")};
    EXPECT_EQ(QuerySmsBalance(wrong, client_), QString());  // "ERROR:102"
}

// The gateway's answer starts with the user name, so odd names show how pieces are cut.
TEST_F(SmsWireTest, BalancePiecesHonourQuotesAndDropEmptyPieces) {
    struct Case {
        const char* name;
        std::string user;
        const char* expected;
    };
    const Case cases[] = {
        // "'de;mo';7;0": the quoted name is one piece.
        {"quoted name", "'de;mo'", "7"},
        // ";7;0": the empty first piece is dropped, so the second is the sent count.
        {"empty name", "", "0"},
        // "de;mo;7;0": an unquoted separator splits the name.
        {"unquoted separator", "de;mo", "mo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartGateway(sim::SmsAccount{c.user, "pw", 7});
        EXPECT_EQ(QuerySmsBalance(gateway_, client_), QString::fromUtf8(c.expected));
    }
}

TEST_F(SmsWireTest, TestSmsSendsTheSampleTextAndRefreshesTheBalance) {
    simulator_->SetSmsBalance(10);
    const auto tagged = [](const char* text) { return QString::fromUtf8(text); };
    const SmsTestOutcome sent = SendTestSms(gateway_, kNumber, client_, tagged);
    EXPECT_EQ(sent.result, SmsResult::Sent);
    EXPECT_EQ(sent.message, QStringLiteral("SMS sent"));
    EXPECT_EQ(sent.balance, QStringLiteral("9"));
    ASSERT_EQ(simulator_->Messages().size(), 1u);
    EXPECT_EQ(simulator_->Messages()[0].text,
              "New car BMW 325 Ci found. Capacity: 2500 cm3, Fuel: Petrol");

    const SmsTestOutcome refused =
        SendTestSms(gateway_, QStringLiteral("12"), client_, [](const char* text) -> QString {
            return QStringLiteral("[pl]") + QString::fromUtf8(text);
        });
    EXPECT_EQ(refused.result, SmsResult::InvalidPhoneNumber);
    EXPECT_EQ(refused.message, QStringLiteral("[pl]Invalid phone number"));
    EXPECT_EQ(refused.balance, std::nullopt);
}

TEST_F(SmsWireTest, FailedRequestsRaiseTheirCause) {
    struct Case {
        const char* name;
        sim::Fault fault;
        const char* expected;
    };
    const Case cases[] = {
        {"HTTP 500", sim::Fault::Status500, "HTTP status 500"},
        {"HTTP 503", sim::Fault::Status503, "HTTP status 503"},
        {"dropped connection", sim::Fault::Drop, "cannot be reached"},
        {"answer later than the time-out", sim::Fault::Delay, "timed out"},
    };
    HttpOptions options = SmsClientOptions();
    options.totalTimeoutMs = 1000;  // the stand-in delays by 3 s here
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A fresh client each time: libcurl quietly retries a request whose reused
        // connection was dropped, which would take the next request's fault.
        HttpClient client(options);
        simulator_->SetFault(sim::RequestKind::Gateway, c.fault, {0.0, 1});
        try {
            SendSms(gateway_, kNumber, QStringLiteral("x"), client);
            ADD_FAILURE() << "the send request must fail";
        } catch (const HttpError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.expected));
            // The address holds the password's digest: the message must not.
            EXPECT_THAT(error.what(), Not(HasSubstr("password=")));
        }
        simulator_->SetFault(sim::RequestKind::Gateway, c.fault, {0.0, 1});
        EXPECT_THROW(QuerySmsBalance(gateway_, client), HttpError);
        simulator_->ClearFaults();
    }
    EXPECT_TRUE(simulator_->Messages().empty());
}

// The account and the gateway's address are those of marvolt.ini.
TEST_F(SmsWireTest, AccountAndAddressFromTheDeploymentFile) {
    StartGateway(sim::SmsAccount{"acct", "s3cret", 3});
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("marvolt.ini"));
    QFile ini(path);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[sms]\nBaseUrl=" + QByteArray::fromStdString(simulator_->BaseUrl()) +
              "/\nUser=acct\nPassword=s3cret\n");
    ini.close();
    qputenv("MARVOLT_CONFIG", path.toLocal8Bit());
    const SmsGateway gateway = SmsGateway::FromDeployment(DeploymentConfig::Load());
    qunsetenv("MARVOLT_CONFIG");

    EXPECT_EQ(ClassifySmsAnswer(SendSms(gateway, kNumber, QStringLiteral("x"), client_)),
              SmsResult::Sent);
    EXPECT_EQ(QuerySmsBalance(gateway, client_), QStringLiteral("2"));
}

TEST_F(SmsWireTest, TheDialogsClientServesSeveralRequests) {
    HttpClient dialog(SmsDialogClientOptions());
    EXPECT_EQ(QuerySmsBalance(gateway_, dialog), QStringLiteral("100"));
    EXPECT_EQ(SendTestSms(gateway_, kNumber, dialog).balance, QStringLiteral("99"));
}

}  // namespace
}  // namespace marvolt
