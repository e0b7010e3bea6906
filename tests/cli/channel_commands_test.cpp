// The channel commands `test-mail`, `test-sms`, `render-template`, `settings` and `channel`,
// run as the built `marvolt` binary on a real database, against the gateway stand-in and a
// real SMTP server.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "simulator/simulator.h"
#include "support/smtp_test_server.h"
#include "support/temp_database.h"

namespace marvolt {
namespace {

using test::SmtpTestServer;
using ::testing::HasSubstr;

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A database of its own and a marvolt.ini naming the gateway stand-in, for every run.
class ChannelCommandsTest : public ::testing::Test {
  protected:
    ChannelCommandsTest() {
        sim::SimulatorOptions options;
        options.ratePerMinute = 0;
        options.backlog = 0;
        gateway_ = std::make_unique<sim::Simulator>(options);
        gateway_->Start();
        config_ = database_.Folder() + QStringLiteral("/marvolt.ini");
        QFile ini(config_);
        if (!ini.open(QIODevice::WriteOnly)) {
            throw std::runtime_error("cannot write marvolt.ini");
        }
        ini.write("[sms]\nBaseUrl=" + QByteArray::fromStdString(gateway_->BaseUrl()) +
                  "\nUser=demo\nPassword=demo\n");
    }

    // Runs `marvolt` with --database added for the commands that open it.
    Outcome Marvolt(QStringList arguments, bool withDatabase = true, const QByteArray& input = {}) {
        if (withDatabase) {
            arguments << QStringLiteral("--database") << database_.Path();
        }
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MARVOLT_CONFIG"), config_);
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(MARVOLT_BINARY), arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    void Set(const char* key, const QString& value) {
        const Outcome run = Marvolt(
            {QStringLiteral("settings"), QStringLiteral("set"), QString::fromUtf8(key), value});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    }

    QByteArray Get(const char* key) {
        return Marvolt({QStringLiteral("settings"), QStringLiteral("get"), QString::fromUtf8(key)})
            .out;
    }

    test::TempDatabase database_;
    QString config_;
    std::unique_ptr<sim::Simulator> gateway_;
};

TEST_F(ChannelCommandsTest, SettingsGetAndSetRoundTrip) {
    Outcome run =
        Marvolt({QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("EmailServer")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_THAT(run.err.toStdString(), HasSubstr("EmailServer"));

    Set("EmailServer", QStringLiteral("smtp.example.org"));
    EXPECT_EQ(Get("EmailServer"), "smtp.example.org\n");
    const QString multiLine = QStringLiteral("Zażółć %CAR_INFO%\r\nline two");
    Set("EmailNotificationFormat", multiLine);
    EXPECT_EQ(Get("EmailNotificationFormat"), multiLine.toUtf8() + "\n");
    Set("EmailServer", QString());
    EXPECT_EQ(Get("EmailServer"), "\n") << "an empty value is a value";

    run = Marvolt({QStringLiteral("settings"), QStringLiteral("get")});
    EXPECT_EQ(run.exitCode, 2);
    run = Marvolt({QStringLiteral("settings"), QStringLiteral("remove"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 2);
}

TEST_F(ChannelCommandsTest, ChannelSwitchesAreStoredAsEntryNumbers) {
    struct Step {
        const char* action;
        const char* channel;
        const char* key;
        const char* stored;
    };
    const Step steps[] = {
        {"enable", "sms", "SMSNotification", "1\n"},
        {"enable", "email", "EmailNotification", "1\n"},
        {"disable", "sms", "SMSNotification", "0\n"},
        {"disable", "email", "EmailNotification", "0\n"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(step.action) + " " + step.channel);
        const Outcome run = Marvolt({QStringLiteral("channel"), QString::fromUtf8(step.action),
                                     QString::fromUtf8(step.channel)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(Get(step.key), step.stored);
    }
    EXPECT_EQ(
        Marvolt({QStringLiteral("channel"), QStringLiteral("enable"), QStringLiteral("sound")})
            .exitCode,
        2);
    EXPECT_EQ(
        Marvolt({QStringLiteral("channel"), QStringLiteral("on"), QStringLiteral("sms")}).exitCode,
        2);
}

TEST_F(ChannelCommandsTest, RenderTemplateFillsTheExtractedVehicleAndAddsNothing) {
    const QString page =
        QStringLiteral(MARVOLT_SCANNER_FIXTURES "/") + QStringLiteral("dealer_detail.html");
    const Outcome extracted = Marvolt({QStringLiteral("extract"), page}, false);
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err.toStdString();
    const QJsonObject car = QJsonDocument::fromJson(extracted.out).object();
    const QString description = car.value(QStringLiteral("CarDescription")).toString();
    const QString capacity = QString::number(car.value(QStringLiteral("EngineCapacity")).toInt());
    ASSERT_FALSE(description.isEmpty());

    Outcome run =
        Marvolt({QStringLiteral("render-template"), QStringLiteral("--template"),
                 QStringLiteral("#%id%: %Car_Info%, %CAPACITY% cm3"), QStringLiteral("--page"),
                 page, QStringLiteral("--id"), QStringLiteral("4711")},
                false);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(run.out), QStringLiteral("#4711: ") + description +
                                              QStringLiteral(", ") + capacity +
                                              QStringLiteral(" cm3"));

    // From standard input, without --id: the id is 0.
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    run = Marvolt({QStringLiteral("render-template"), QStringLiteral("--template"),
                   QStringLiteral("%ID%"), QStringLiteral("--page"), QStringLiteral("-")},
                  false, file.readAll());
    EXPECT_EQ(run.out, "0");

    run = Marvolt({QStringLiteral("render-template"), QStringLiteral("--template"),
                   QStringLiteral("%CAR_INFO% %car_info% %CAPACITY% %FUEL% %PRICE%\n"),
                   QStringLiteral("--sample")},
                  false);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "BMW 325 Ci %car_info% 2500 Petrol %PRICE%\n");
}

TEST_F(ChannelCommandsTest, RenderTemplateRefusesWhatItCannotRender) {
    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
    };
    const Case cases[] = {
        {"no template", {QStringLiteral("--sample")}, 2},
        {"no page and no sample", {QStringLiteral("--template"), QStringLiteral("x")}, 2},
        {"id that is no number",
         {QStringLiteral("--template"), QStringLiteral("x"), QStringLiteral("--page"),
          QStringLiteral("-"), QStringLiteral("--id"), QStringLiteral("x1")},
         2},
        {"missing page file",
         {QStringLiteral("--template"), QStringLiteral("x"), QStringLiteral("--page"),
          QStringLiteral("/nonexistent/page.html")},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome run =
            Marvolt(QStringList{QStringLiteral("render-template")} + c.arguments, false);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
}

TEST_F(ChannelCommandsTest, TestMailUsesTheStoredSettingsAndTheOptionsOverThem) {
    SmtpTestServer server({});
    ASSERT_SERVER_UP(server);
    Set("EmailServer", QStringLiteral("127.0.0.1"));
    Set("EmailPort", QString::number(server.Port()));
    Set("EmailRecipient", QStringLiteral("buyer@example.org"));
    Set("EmailSenderEmail", QStringLiteral("scanner@example.org"));
    Set("EmailNotificationFormat", QStringLiteral("Stored: %CAR_INFO% for %PRICE%"));

    Outcome run = Marvolt({QStringLiteral("test-mail")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "Message sent\n");
    auto events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    QJsonObject message = events.back();
    EXPECT_EQ(message.value(QStringLiteral("body")).toString(),
              QStringLiteral("Stored: BMW 325 Ci for %PRICE%\n"));
    EXPECT_EQ(message.value(QStringLiteral("subject")).toString(), QStringLiteral("New car found"));
    EXPECT_EQ(message.value(QStringLiteral("rcpt_tos")).toArray().at(0).toString(),
              QStringLiteral("buyer@example.org"));

    run = Marvolt({QStringLiteral("test-mail"), QStringLiteral("--recipient"),
                   QStringLiteral("a@example.org, B <b@example.org>"), QStringLiteral("--sender"),
                   QStringLiteral("me@example.org"), QStringLiteral("--template"),
                   QStringLiteral("Given %CAPACITY%")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    message = events.back();
    EXPECT_EQ(message.value(QStringLiteral("body")).toString(), QStringLiteral("Given 2500\n"));
    EXPECT_EQ(message.value(QStringLiteral("mail_from")).toString(),
              QStringLiteral("me@example.org"));
    EXPECT_EQ(message.value(QStringLiteral("rcpt_tos")).toArray().size(), 2);
}

TEST_F(ChannelCommandsTest, TestMailReportsTheServersRefusal) {
    SmtpTestServer refusing({QStringLiteral("--refuse"), QStringLiteral("buyer@example.org")});
    ASSERT_SERVER_UP(refusing);
    const Outcome run = Marvolt({QStringLiteral("test-mail"), QStringLiteral("--server"),
                                 QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                                 QString::number(refusing.Port()), QStringLiteral("--recipient"),
                                 QStringLiteral("buyer@example.org"), QStringLiteral("--sender"),
                                 QStringLiteral("scanner@example.org")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_THAT(run.err.toStdString(), HasSubstr("Recipient address rejected"));

    // A refusal coded 250 counts as sent.
    SmtpTestServer odd({QStringLiteral("--data-reply-250")});
    ASSERT_SERVER_UP(odd);
    const Outcome sent =
        Marvolt({QStringLiteral("test-mail"), QStringLiteral("--server"),
                 QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QString::number(odd.Port()),
                 QStringLiteral("--recipient"), QStringLiteral("buyer@example.org"),
                 QStringLiteral("--sender"), QStringLiteral("scanner@example.org")});
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_EQ(sent.out, "Message sent\n");

    EXPECT_EQ(Marvolt({QStringLiteral("test-mail"), QStringLiteral("--port"),
                       QStringLiteral("twenty-five")})
                  .exitCode,
              2);
}

TEST_F(ChannelCommandsTest, TestSmsSendsTheSampleTextAndShowsTheBalance) {
    Set("PhoneNumber", QStringLiteral("+48123456789"));
    Set("SMSNotificationFormat", QStringLiteral("not used by the test SMS"));
    Outcome run = Marvolt({QStringLiteral("test-sms")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "SMS sent\nSMS messages left: 99\n");
    ASSERT_EQ(gateway_->Messages().size(), 1u);
    EXPECT_EQ(gateway_->Messages()[0].to, "+48123456789");
    EXPECT_EQ(gateway_->Messages()[0].text,
              "New car BMW 325 Ci found. Capacity: 2500 cm3, Fuel: Petrol");

    run = Marvolt({QStringLiteral("test-sms"), QStringLiteral("--phone"), QStringLiteral("12")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_THAT(run.err.toStdString(), HasSubstr("Invalid phone number"));

    gateway_->SetSmsBalance(0);
    run = Marvolt({QStringLiteral("test-sms")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err.toStdString(), HasSubstr("There are no funds in your account"));

    gateway_->Stop();
    run = Marvolt({QStringLiteral("test-sms")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err.toStdString(), HasSubstr("The SMS gateway cannot be reached"));
    EXPECT_EQ(gateway_->Messages().size(), 1u);
}

}  // namespace
}  // namespace marvolt
