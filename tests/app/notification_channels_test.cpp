// The SMS and e-mail channels of a found vehicle, with settings from a real database, the
// gateway stand-in in-process and a real SMTP server.
#include "app/notification_channels.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonObject>
#include <mutex>

#include "data/data_module.h"
#include "data/settings_store.h"
#include "scanner/car_info.h"
#include "settings/settings_keys.h"
#include "simulator/simulator.h"
#include "support/qt_print.h"
#include "support/smtp_test_server.h"
#include "support/temp_database.h"

namespace marvolt {
namespace {

using test::SmtpTestServer;
using ::testing::HasSubstr;
using ::testing::Not;

// Shows which texts passed through the translation.
QString Polish(const char* text) {
    return QStringLiteral("[pl]") + QString::fromUtf8(text);
}

CarInfo FoundCar() {
    CarInfo car;
    car.CarDescription = "Škoda Octavia 2.0 TDI";
    car.EngineCapacity = 1968;
    car.Fuel = 2;
    car.Id = 4242;
    car.IdSchedule = 7;
    return car;
}

const QString kPhone = QStringLiteral("+48123456789");
const QString kSmsTemplate = QStringLiteral("%car_info% (%ID%), %FUEL%");
const QString kSmsText = QStringLiteral("Škoda Octavia 2.0 TDI (4242), [pl]Diesel");
const QString kMailTemplate = QStringLiteral("Found: %CAR_INFO%\r\nCapacity: %CAPACITY% cm3");
const QString kMailBody = QStringLiteral("Found: Škoda Octavia 2.0 TDI\nCapacity: 1968 cm3\n");

class NotificationChannelsTest : public ::testing::Test {
  protected:
    NotificationChannelsTest() {
        sim::SimulatorOptions options;
        options.ratePerMinute = 0;
        options.backlog = 0;
        gateway_ = std::make_unique<sim::Simulator>(options);
        gateway_->Start();
        config_.siteBaseUrl = QString::fromStdString(gateway_->BaseUrl());
        config_.smsBaseUrl = config_.siteBaseUrl;
        config_.smsUser = QStringLiteral("demo");
        config_.smsPassword = QStringLiteral("demo");

        Settings().WriteSetting(keys::kPhoneNumber, kPhone);
        Settings().WriteSetting(keys::kSmsNotificationFormat, kSmsTemplate);
        Settings().WriteSetting(keys::kEmailNotificationFormat, kMailTemplate);
        Settings().WriteSetting(keys::kEmailServer, QStringLiteral("127.0.0.1"));
        Settings().WriteSetting(keys::kEmailRecipient, QStringLiteral("buyer@example.org"));
        Settings().WriteSetting(keys::kEmailSenderEmail, QStringLiteral("scanner@example.org"));
    }

    SettingsStore& Settings() { return data_.Settings(); }

    // The channels as `marvolt run` makes them, recording what they report.
    std::unique_ptr<NotificationChannels> Channels(bool sms, bool email) {
        auto channels = std::make_unique<NotificationChannels>(
            Settings(), config_, [this](const ChannelEvent& event) { events_.push_back(event); },
            Polish, DebugLog([this](std::string_view line) {
                std::lock_guard lock(logMutex_);
                log_.emplace_back(line);
            }));
        channels->SetSmsEnabled(sms);
        channels->SetEmailEnabled(email);
        return channels;
    }

    void UseMailServer(const SmtpTestServer& server) {
        Settings().WriteSetting(keys::kEmailPort, server.Port());
    }

    std::vector<std::string> Log() {
        std::lock_guard lock(logMutex_);
        return log_;
    }

    test::TempDatabase file_;
    DataModule data_{file_.Path()};
    std::unique_ptr<sim::Simulator> gateway_;
    DeploymentConfig config_;
    std::vector<ChannelEvent> events_;
    std::mutex logMutex_;
    std::vector<std::string> log_;
};

TEST_F(NotificationChannelsTest, BothSwitchesOffSendNothing) {
    SmtpTestServer mail({});
    ASSERT_SERVER_UP(mail);
    UseMailServer(mail);
    Channels(false, false)->Notify(FoundCar());
    EXPECT_TRUE(gateway_->Messages().empty());
    EXPECT_TRUE(mail.PendingEvents(500).empty());
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(Log().empty());
}

TEST_F(NotificationChannelsTest, SmsGoesToThePhoneNumberWithTheFilledTemplate) {
    SmtpTestServer mail({});
    ASSERT_SERVER_UP(mail);
    UseMailServer(mail);
    const auto channels = Channels(true, false);
    channels->Notify(FoundCar());

    auto messages = gateway_->Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].to, kPhone.toStdString());
    EXPECT_EQ(QString::fromStdString(messages[0].text), kSmsText);
    EXPECT_TRUE(events_.empty()) << "a sent SMS shows nothing";
    EXPECT_TRUE(mail.PendingEvents(500).empty()) << "the e-mail switch is off";

    // The template is read afresh for the next vehicle; an empty one gives the default.
    Settings().WriteSetting(keys::kSmsNotificationFormat, QString());
    channels->Notify(FoundCar());
    messages = gateway_->Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(QString::fromStdString(messages[1].text),
              QStringLiteral("[pl]New car Škoda Octavia 2.0 TDI found. Capacity: 1968 cm3, "
                             "Fuel: [pl]Diesel"));
}

TEST_F(NotificationChannelsTest, GatewayRefusalsBecomeSmsEvents) {
    struct Case {
        const char* name;
        int balance;
        QString phone;
        QString password;
        QString message;
    };
    const Case cases[] = {
        {"no funds", 0, kPhone, QStringLiteral("demo"),
         QStringLiteral("[pl]There are no funds in your account")},
        {"not a phone number", 5, QStringLiteral("call me"), QStringLiteral("demo"),
         QStringLiteral("[pl]Invalid phone number")},
        {"empty phone number", 5, QString(), QStringLiteral("demo"),
         QStringLiteral("[pl]Invalid phone number")},
        {"wrong password", 5, kPhone, QStringLiteral("guess"),
         QStringLiteral("[pl]Invalid login or password")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events_.clear();
        gateway_->SetSmsBalance(c.balance);
        Settings().WriteSetting(keys::kPhoneNumber, c.phone);
        config_.smsPassword = c.password;
        Channels(true, false)->Notify(FoundCar());
        ASSERT_EQ(events_.size(), 1u);
        EXPECT_EQ(events_[0].title, QStringLiteral("SMS"));  // not translated
        EXPECT_EQ(events_[0].text, c.message);
        EXPECT_EQ(events_[0].icon, ChannelEvent::Icon::Error);
        EXPECT_EQ(events_[0].seconds, 30);
    }
    EXPECT_TRUE(gateway_->Messages().empty());
    EXPECT_TRUE(Log().empty());
}

// A request that fails shows nothing, is only logged, and the e-mail still goes out.
TEST_F(NotificationChannelsTest, AFailedSmsRequestIsLoggedAndTheEmailStillGoesOut) {
    SmtpTestServer mail({});
    ASSERT_SERVER_UP(mail);
    UseMailServer(mail);
    struct Case {
        const char* name;
        std::optional<sim::Fault> fault;
        bool closedPort;
        const char* logged;
    };
    const Case cases[] = {
        {"HTTP 500", sim::Fault::Status500, false, "The SMS gateway answered with HTTP status 500"},
        {"dropped connection", sim::Fault::Drop, false, "The SMS gateway cannot be reached"},
        {"closed port", std::nullopt, true, "The SMS gateway cannot be reached"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            std::lock_guard lock(logMutex_);
            log_.clear();
        }
        events_.clear();
        if (c.fault) {
            gateway_->SetFault(sim::RequestKind::Gateway, *c.fault, {0.0, 1});
        }
        if (c.closedPort) {
            gateway_->Stop();
        }
        Channels(true, true)->Notify(FoundCar());
        gateway_->ClearFaults();

        const auto log = Log();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_THAT(log[0], HasSubstr(c.logged));
        EXPECT_THAT(log[0], Not(HasSubstr("password="))) << "the address holds a secret";
        EXPECT_TRUE(events_.empty());
        const auto received = mail.EventsUntilMessage();
        ASSERT_FALSE(received.empty()) << "the e-mail channel must still run";
        EXPECT_EQ(received.back().value(QStringLiteral("body")).toString(), kMailBody);
    }
    EXPECT_TRUE(gateway_->Messages().empty());
}

TEST_F(NotificationChannelsTest, EmailCarriesTheFilledTemplateAndTheSubject) {
    SmtpTestServer mail({});
    ASSERT_SERVER_UP(mail);
    UseMailServer(mail);
    Channels(false, true)->Notify(FoundCar());

    const auto received = mail.EventsUntilMessage();
    ASSERT_FALSE(received.empty());
    const QJsonObject message = received.back();
    EXPECT_EQ(message.value(QStringLiteral("subject")).toString(),
              QStringLiteral("[pl]New car found"));
    EXPECT_EQ(message.value(QStringLiteral("body")).toString(), kMailBody);
    const QJsonObject from = message.value(QStringLiteral("from")).toArray().at(0).toObject();
    EXPECT_EQ(from.value(QStringLiteral("name")).toString(), QStringLiteral("Marvolt Scanner"));
    EXPECT_EQ(from.value(QStringLiteral("address")).toString(),
              QStringLiteral("scanner@example.org"));
    EXPECT_EQ(message.value(QStringLiteral("rcpt_tos")).toArray().at(0).toString(),
              QStringLiteral("buyer@example.org"));
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(gateway_->Messages().empty()) << "the SMS switch is off";
}

TEST_F(NotificationChannelsTest, AFailedEmailBecomesAnErrorEventUnlessItsReplyIs250) {
    struct Case {
        const char* name;
        QStringList serverOptions;
        QString login;
        const char* expected;  // nullptr: no event
    };
    const Case cases[] = {
        {"refused recipient",
         {QStringLiteral("--refuse"), QStringLiteral("buyer@example.org")},
         QString(),
         "Recipient address rejected"},
        {"wrong password",
         {QStringLiteral("--auth"), QStringLiteral("john:secret")},
         QStringLiteral("john"),
         "535"},
        {"refusal coded 250", {QStringLiteral("--data-reply-250")}, QString(), nullptr},
    };
    Settings().WriteSetting(keys::kEmailPassword, QStringLiteral("guess"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        events_.clear();
        Settings().WriteSetting(keys::kEmailLogin, c.login);
        SmtpTestServer mail(c.serverOptions);
        ASSERT_SERVER_UP(mail);
        UseMailServer(mail);
        Channels(true, true)->Notify(FoundCar());
        if (c.expected == nullptr) {
            EXPECT_TRUE(events_.empty());
        } else {
            ASSERT_EQ(events_.size(), 1u);
            EXPECT_EQ(events_[0].title, QStringLiteral("[pl]Error"));
            EXPECT_THAT(events_[0].text.toStdString(), HasSubstr(c.expected));
            EXPECT_EQ(events_[0].icon, ChannelEvent::Icon::Error);
            EXPECT_EQ(events_[0].seconds, 60);
        }
    }
    // The SMS channel ran first each time.
    EXPECT_EQ(gateway_->Messages().size(), 3u);
}

TEST_F(NotificationChannelsTest, AnUnreachableMailServerBecomesAnErrorEvent) {
    Settings().WriteSetting(keys::kEmailServer, QString());  // nothing saved yet
    Channels(false, true)->Notify(FoundCar());
    ASSERT_EQ(events_.size(), 1u);
    EXPECT_EQ(events_[0].title, QStringLiteral("[pl]Error"));
    EXPECT_FALSE(events_[0].text.isEmpty());
}

}  // namespace
}  // namespace marvolt
