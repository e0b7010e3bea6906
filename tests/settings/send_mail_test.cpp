// The e-mail sender against a real SMTP server on loopback.
#include "settings/send_mail.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <cerrno>

#include "settings/mail_settings.h"
#include "support/qt_print.h"
#include "support/smtp_test_server.h"

namespace marvolt {
namespace {

using test::SmtpTestServer;
using test::TlsOptions;
using ::testing::HasSubstr;

const QString kHost = QStringLiteral("127.0.0.1");
const QString kTo = QStringLiteral("anna@example.com");
const QString kFrom = QStringLiteral("scanner@example.org");

QString Text(const QJsonObject& event, const char* key) {
    return event.value(QLatin1String(key)).toString();
}

QStringList Strings(const QJsonValue& value) {
    QStringList strings;
    for (const QJsonValue& item : value.toArray()) {
        strings << item.toString();
    }
    return strings;
}

std::vector<QJsonObject> OfKind(const std::vector<QJsonObject>& events, const char* kind) {
    std::vector<QJsonObject> found;
    for (const QJsonObject& event : events) {
        if (Text(event, "event") == QLatin1String(kind)) {
            found.push_back(event);
        }
    }
    return found;
}

struct MailCase {
    QString login;
    QString password;
    bool useSsl = false;
    QString body = QStringLiteral("A car was found.");
    QString recipient = kTo;
    QString subject = QStringLiteral("New car found");
    QString caFile;

    MailCase& Login(const QString& name, const QString& secret) {
        login = name;
        password = secret;
        return *this;
    }
    MailCase& Ssl(bool on, const QString& ca = QString()) {
        useSsl = on;
        caFile = ca;
        return *this;
    }
    MailCase& Body(const QString& text) {
        body = text;
        return *this;
    }
    MailCase& To(const QString& text) {
        recipient = text;
        return *this;
    }
    MailCase& Subject(const QString& text) {
        subject = text;
        return *this;
    }
};

MailSettings Settings(int port, const QString& recipient) {
    MailSettings settings;
    settings.server = kHost;
    settings.port = port;
    settings.recipient = recipient;
    settings.senderEmail = kFrom;
    return settings;
}

SendMail MakeMail(const SmtpTestServer& server, const MailCase& c) {
    SendMail mail(kHost, c.login, c.password, c.useSsl, server.Port(), c.body, c.recipient,
                  QStringLiteral("Marvolt Scanner"), kFrom, c.subject);
    mail.SetCaFile(c.caFile);
    return mail;
}

QString CaFile() {
    return test::TestCertificate::Get().CertFile();
}

TEST(SendMailTest, PlainWithoutLoginSendsNoAuthAndDeliversAWellFormedMessage) {
    SmtpTestServer server({QStringLiteral("--auth"), QStringLiteral("john:secret")});
    ASSERT_SERVER_UP(server);
    SendMail mail = MakeMail(server, MailCase());
    ASSERT_NO_THROW(mail.Send());

    const auto events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    EXPECT_TRUE(OfKind(events, "auth").empty()) << "an empty login must not authenticate";
    const QJsonObject message = events.back();
    EXPECT_FALSE(message.value(QStringLiteral("tls")).toBool());
    EXPECT_TRUE(message.value(QStringLiteral("login")).isNull());
    EXPECT_EQ(Text(message, "mail_from"), kFrom);
    EXPECT_EQ(Strings(message.value(QStringLiteral("rcpt_tos"))), QStringList{kTo});
    EXPECT_EQ(Text(message, "subject"), QStringLiteral("New car found"));
    const QJsonObject from = message.value(QStringLiteral("from")).toArray().at(0).toObject();
    EXPECT_EQ(Text(from, "name"), QStringLiteral("Marvolt Scanner"));
    EXPECT_EQ(Text(from, "address"), kFrom);
    EXPECT_EQ(Text(message, "content_type"), QStringLiteral("text/plain"));
    EXPECT_EQ(Text(message, "charset"), QStringLiteral("utf-8"));
    EXPECT_EQ(Text(message, "mime_version"), QStringLiteral("1.0"));
    EXPECT_FALSE(Text(message, "date").isEmpty());
    EXPECT_THAT(Text(message, "message_id").toStdString(),
                ::testing::MatchesRegex("<.+@example\\.org>"));
    EXPECT_EQ(Text(message, "body"), QStringLiteral("A car was found.\n"));
    EXPECT_TRUE(message.value(QStringLiteral("defects")).toArray().isEmpty())
        << QJsonDocument(message.value(QStringLiteral("defects")).toArray()).toJson().toStdString();
}

TEST(SendMailTest, LoginAuthenticatesWithAuthLogin) {
    SmtpTestServer server({QStringLiteral("--auth"), QStringLiteral("john:secret")});
    ASSERT_SERVER_UP(server);
    SendMail mail =
        MakeMail(server, MailCase().Login(QStringLiteral("john"), QStringLiteral("secret")));
    ASSERT_NO_THROW(mail.Send());

    const auto events = server.EventsUntilMessage();
    const auto attempts = OfKind(events, "auth");
    ASSERT_EQ(attempts.size(), 1u);
    EXPECT_EQ(Text(attempts[0], "mechanism"), QStringLiteral("LOGIN"));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(Text(events.back(), "login"), QStringLiteral("john"));
}

TEST(SendMailTest, RefusedLoginCarriesTheReplyCodeAndText) {
    SmtpTestServer server({QStringLiteral("--auth"), QStringLiteral("john:secret")});
    ASSERT_SERVER_UP(server);
    SendMail mail =
        MakeMail(server, MailCase().Login(QStringLiteral("john"), QStringLiteral("wrong")));
    try {
        mail.Send();
        FAIL() << "a refused login must fail";
    } catch (const SmtpReplyError& error) {
        EXPECT_EQ(error.ReplyCode(), 535);
        EXPECT_THAT(error.ReplyText(), HasSubstr("Authentication credentials invalid"));
        EXPECT_THAT(error.what(), HasSubstr("535"));
    }
    EXPECT_TRUE(OfKind(server.PendingEvents(), "message").empty());
}

// Without LOGIN among the offered mechanisms the login cannot be used; that is a failure the
// user must see, not a server reply (and certainly not one that could count as sent).
TEST(SendMailTest, ALoginTheServerCannotTakeFailsPlainly) {
    SmtpTestServer server({QStringLiteral("--auth"), QStringLiteral("john:secret"),
                           QStringLiteral("--exclude-auth"), QStringLiteral("LOGIN")});
    ASSERT_SERVER_UP(server);
    SendMail mail =
        MakeMail(server, MailCase().Login(QStringLiteral("john"), QStringLiteral("secret")));
    EXPECT_NE(SendAndReport(mail), std::nullopt);
    try {
        mail.Send();
        FAIL() << "a login the server cannot take must fail";
    } catch (const SmtpReplyError& error) {
        FAIL() << "no reply refused anything: " << error.what();
    } catch (const MailError& error) {
        EXPECT_THAT(error.what(), HasSubstr("does not offer AUTH LOGIN"));
    }
    EXPECT_TRUE(OfKind(server.PendingEvents(), "message").empty());
}

// STARTTLS is used when offered; when it is not, the message goes out in plain text; with SSL
// off the connection stays plain even where it is offered.
TEST(SendMailTest, StartTlsIsUsedExactlyWhenOfferedAndAskedFor) {
    struct Case {
        const char* name;
        bool offered;
        bool useSsl;
        bool expectTls;
    };
    for (const Case& c : {Case{"offered, SSL on", true, true, true},
                          Case{"not offered, SSL on", false, true, false},
                          Case{"offered, SSL off", true, false, false}}) {
        SCOPED_TRACE(c.name);
        QStringList options = TlsOptions();
        if (c.offered) {
            options << QStringLiteral("--starttls");
        }
        SmtpTestServer server(options);
        ASSERT_SERVER_UP(server);
        SendMail mail = MakeMail(server, MailCase().Ssl(c.useSsl, CaFile()));
        ASSERT_NO_THROW(mail.Send());
        const auto events = server.EventsUntilMessage();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back().value(QStringLiteral("tls")).toBool(), c.expectTls);
    }
}

TEST(SendMailTest, StartTlsWithLoginAuthenticatesInsideTls) {
    SmtpTestServer server(TlsOptions() << QStringLiteral("--starttls") << QStringLiteral("--auth")
                                       << QStringLiteral("john:secret"));
    ASSERT_SERVER_UP(server);
    SendMail mail = MakeMail(
        server,
        MailCase().Login(QStringLiteral("john"), QStringLiteral("secret")).Ssl(true, CaFile()));
    ASSERT_NO_THROW(mail.Send());
    const auto events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    EXPECT_TRUE(events.back().value(QStringLiteral("tls")).toBool());
    EXPECT_EQ(Text(events.back(), "login"), QStringLiteral("john"));
}

TEST(SendMailTest, AnUntrustedCertificateIsRefusedByDefault) {
    SmtpTestServer server(TlsOptions() << QStringLiteral("--starttls"));
    ASSERT_SERVER_UP(server);
    SendMail mail = MakeMail(server, MailCase().Ssl(true));  // no CA file: the system's authorities
    try {
        mail.Send();
        FAIL() << "a self-signed certificate must not be trusted without being named";
    } catch (const SmtpReplyError& error) {
        FAIL() << "a certificate failure is no server reply: " << error.what();
    } catch (const MailError& error) {
        EXPECT_THAT(error.what(), HasSubstr("certificate"));
    }
    EXPECT_TRUE(OfKind(server.PendingEvents(), "message").empty());
}

// Port 465 is privileged, so this runs where the tests may bind it (as root, in CI's container).
// Both cases share one test so two runs in parallel never compete for the port.
TEST(SendMailTest, Port465IsImplicitTlsWithSslAndPlainWithout) {
    {
        SmtpTestServer server(TlsOptions() << QStringLiteral("--implicit-tls")
                                           << QStringLiteral("--port") << QStringLiteral("465"));
        if (server.BindErrno() == EACCES) {
            GTEST_SKIP() << "binding port 465 is not permitted here";
        }
        ASSERT_SERVER_UP(server);
        SendMail mail = MakeMail(server, MailCase().Ssl(true, CaFile()));
        ASSERT_NO_THROW(mail.Send());
        const auto events = server.EventsUntilMessage();
        ASSERT_FALSE(events.empty());
        EXPECT_TRUE(events.back().value(QStringLiteral("tls")).toBool());
    }
    {
        SmtpTestServer server({QStringLiteral("--port"), QStringLiteral("465")});
        ASSERT_SERVER_UP(server);
        SendMail mail = MakeMail(server, MailCase().Ssl(false));
        ASSERT_NO_THROW(mail.Send());
        const auto events = server.EventsUntilMessage();
        ASSERT_FALSE(events.empty());
        EXPECT_FALSE(events.back().value(QStringLiteral("tls")).toBool());
    }
}

TEST(SendMailTest, TwoRecipientsWithDisplayNamesBothReceiveTheMessage) {
    SmtpTestServer server({});
    ASSERT_SERVER_UP(server);
    SendMail mail = MakeMail(
        server,
        MailCase().To(QStringLiteral("Anna <anna@example.com>, \"Smith, Bob\" <bob@example.com>")));
    ASSERT_NO_THROW(mail.Send());

    const auto events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    const QJsonObject message = events.back();
    EXPECT_EQ(Strings(message.value(QStringLiteral("rcpt_tos"))),
              (QStringList{QStringLiteral("anna@example.com"), QStringLiteral("bob@example.com")}));
    const QJsonArray to = message.value(QStringLiteral("to")).toArray();
    ASSERT_EQ(to.size(), 2);
    EXPECT_EQ(Text(to.at(0).toObject(), "name"), QStringLiteral("Anna"));
    EXPECT_EQ(Text(to.at(1).toObject(), "name"), QStringLiteral("Smith, Bob"));
    EXPECT_EQ(Text(to.at(1).toObject(), "address"), QStringLiteral("bob@example.com"));
}

TEST(SendMailTest, NonAsciiSubjectNamesAndBodyArriveIntact) {
    SmtpTestServer server({});
    ASSERT_SERVER_UP(server);
    const QString subject = QStringLiteral(
        "Nowy samochód – Škoda Octavia, żółta, 12 500,00 € — długi temat, który trzeba złamać "
        "na kilka słów zakodowanych 🚗");
    const QString body = QStringLiteral(
                             "Zażółć gęślą jaźń.\n"
                             ".\n"
                             "Trailing blanks   \n"
                             "Equals = sign and tab\there\n"
                             "\n"
                             "A long line: ") +
                         QString(300, QLatin1Char('x')) + QStringLiteral(" ż") +
                         QString(100, QChar(0x017C)) + QStringLiteral("\nLast line");
    SendMail mail = MakeMail(
        server,
        MailCase().Body(body).To(QStringLiteral("Jörg Müller <jm@example.com>")).Subject(subject));
    ASSERT_NO_THROW(mail.Send());

    const auto events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    const QJsonObject message = events.back();
    EXPECT_EQ(Text(message, "subject"), subject);
    EXPECT_EQ(Text(message, "body"), body + QLatin1Char('\n'));
    EXPECT_EQ(Text(message.value(QStringLiteral("to")).toArray().at(0).toObject(), "name"),
              QStringLiteral("Jörg Müller"));
    EXPECT_TRUE(message.value(QStringLiteral("defects")).toArray().isEmpty())
        << QJsonDocument(message.value(QStringLiteral("defects")).toArray()).toJson().toStdString();
    // On the wire the message is 7-bit with lines short enough for any relay.
    const QString raw = Text(message, "raw");
    for (const QString& line : raw.split(QStringLiteral("\r\n"))) {
        EXPECT_LE(line.size(), 78) << line.toStdString();
        for (const QChar c : line) {
            ASSERT_LT(c.unicode(), 128) << line.toStdString();
        }
    }
}

TEST(SendMailTest, LineBreaksInTheSubjectCannotAddHeaders) {
    SmtpTestServer server({});
    ASSERT_SERVER_UP(server);
    SendMail mail =
        MakeMail(server, MailCase().Subject(QStringLiteral("Hi\r\nBcc: eve@example.com")));
    ASSERT_NO_THROW(mail.Send());
    const auto events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    EXPECT_FALSE(
        Strings(events.back().value(QStringLiteral("headers"))).contains(QStringLiteral("bcc")));
    EXPECT_EQ(Text(events.back(), "subject"), QStringLiteral("Hi  Bcc: eve@example.com"));
}

TEST(SendMailTest, ARefusedRecipientFailsWithTheReplyCodeAndText) {
    SmtpTestServer server({QStringLiteral("--refuse"), QStringLiteral("bad@example.com")});
    ASSERT_SERVER_UP(server);
    SendMail mail =
        MakeMail(server, MailCase().To(QStringLiteral("anna@example.com, bad@example.com")));
    try {
        mail.Send();
        FAIL() << "a refused recipient must fail";
    } catch (const SmtpReplyError& error) {
        EXPECT_EQ(error.ReplyCode(), 550);
        EXPECT_THAT(error.ReplyText(), HasSubstr("<bad@example.com>: Recipient address rejected"));
        EXPECT_THAT(error.what(), HasSubstr("550 5.1.1 <bad@example.com>"));
    }
    EXPECT_TRUE(OfKind(server.PendingEvents(), "message").empty());
}

// Bounded by the 3-second reply time-out; CTest's own time-out catches a hang.
TEST(SendMailTest, AServerThatNeverAnswersFailsAsAConnectionError) {
    SmtpTestServer server({QStringLiteral("--silent")});
    ASSERT_SERVER_UP(server);
    SendMail mail = MakeMail(server, MailCase());
    try {
        mail.Send();
        FAIL() << "a silent server must fail";
    } catch (const SmtpReplyError& error) {
        FAIL() << "silence is no reply: " << error.what();
    } catch (const MailError& error) {
        EXPECT_THAT(error.what(), HasSubstr("127.0.0.1"));
        EXPECT_THAT(error.what(), ::testing::ContainsRegex("[Tt]ime"));
    }
}

TEST(SendMailTest, NoServerListeningFailsAsAConnectionError) {
    int port = 0;
    {
        SmtpTestServer server({});  // a port that was free a moment ago
        ASSERT_SERVER_UP(server);
        port = server.Port();
    }
    SendMail mail(kHost, QString(), QString(), false, port, QStringLiteral("x"), kTo,
                  QStringLiteral("Marvolt Scanner"), kFrom, QStringLiteral("s"));
    EXPECT_THROW(
        {
            try {
                mail.Send();
            } catch (const SmtpReplyError&) {
                FAIL() << "a refused connection is no server reply";
            }
        },
        MailError);
}

// A refusal whose code is 250 counts as sent, for the notification and the test e-mail alike.
TEST(SendMailTest, AFailingReplyWithCode250CountsAsSent) {
    SmtpTestServer server({QStringLiteral("--data-reply-250")});
    ASSERT_SERVER_UP(server);
    SendMail mail = MakeMail(server, MailCase());
    try {
        mail.Send();
        FAIL() << "DATA answered with 250 must fail the exchange";
    } catch (const SmtpReplyError& error) {
        EXPECT_EQ(error.ReplyCode(), 250);
    }
    SendMail again = MakeMail(server, MailCase());
    EXPECT_EQ(SendAndReport(again), std::nullopt);

    const MailSettings settings = Settings(server.Port(), kTo);
    const MailTestOutcome outcome = SendTestMail(settings, QStringLiteral("x"));
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(outcome.message, QStringLiteral("Message sent"));
}

QString Tagged(const char* text) {
    return QStringLiteral("[pl]") + QString::fromUtf8(text);
}

TEST(SendMailTest, TestMailFillsOnlyTheSampleValuesAndReportsTheOutcome) {
    SmtpTestServer server({});
    ASSERT_SERVER_UP(server);
    const MailSettings settings = Settings(server.Port(), kTo);
    const MailTestOutcome outcome = SendTestMail(
        settings, QStringLiteral("%CAR_INFO% %CAPACITY% %FUEL% %car_info% %PRICE% %ID%"), Tagged);
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(outcome.message, QStringLiteral("[pl]Message sent"));

    const auto events = server.EventsUntilMessage();
    ASSERT_FALSE(events.empty());
    const QJsonObject message = events.back();
    EXPECT_EQ(Text(message, "body"),
              QStringLiteral("BMW 325 Ci 2500 [pl]Petrol %car_info% %PRICE% %ID%\n"));
    EXPECT_EQ(Text(message, "subject"), QStringLiteral("[pl]New car found"));
    EXPECT_EQ(Text(message.value(QStringLiteral("from")).toArray().at(0).toObject(), "name"),
              QStringLiteral("Marvolt Scanner"));
}

TEST(SendMailTest, TestMailReportsAFailureWithItsMessage) {
    SmtpTestServer server({QStringLiteral("--refuse"), kTo});
    ASSERT_SERVER_UP(server);
    const MailSettings settings = Settings(server.Port(), kTo);
    const MailTestOutcome outcome = SendTestMail(settings, QStringLiteral("x"), Tagged);
    EXPECT_FALSE(outcome.sent);
    EXPECT_THAT(outcome.message.toStdString(), HasSubstr("550"));
}

// What is wrong before any connection is made is said plainly.
TEST(SendMailTest, UnusableSettingsFailBeforeConnecting) {
    struct Case {
        const char* name;
        QString server;
        int port;
        QString recipient;
        QString sender;
        const char* expected;
    };
    const Case cases[] = {
        {"no server", QString(), 25, kTo, kFrom, "No e-mail server is set"},
        {"server with a path", QStringLiteral("mail.example.com/x"), 25, kTo, kFrom,
         "not a valid e-mail server name"},
        {"server with a port", QStringLiteral("mail.example.com:587"), 25, kTo, kFrom,
         "not a valid e-mail server name"},
        {"port 0", kHost, 0, kTo, kFrom, "0 is not a valid SMTP port"},
        {"port too large", kHost, 70000, kTo, kFrom, "70000 is not a valid SMTP port"},
        {"no recipient", kHost, 25, QStringLiteral(" , "), kFrom, "No recipient address is set"},
        {"recipient with a line break", kHost, 25,
         QStringLiteral("a@example.com\r\nRCPT TO:b@example.com"), kFrom,
         "is not a valid recipient address"},
        {"sender with a blank", kHost, 25, kTo, QStringLiteral("me @example.com"),
         "is not a valid sender address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMail mail(c.server, QString(), QString(), false, c.port, QStringLiteral("x"),
                      c.recipient, QStringLiteral("Marvolt Scanner"), c.sender,
                      QStringLiteral("s"));
        try {
            mail.Send();
            ADD_FAILURE() << "expected a failure";
        } catch (const MailError& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.expected));
        }
    }
}

}  // namespace
}  // namespace marvolt
