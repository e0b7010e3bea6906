// Recipient lists and the message text, without a server.
#include "settings/mail_message.h"

#include <gtest/gtest.h>

#include "support/qt_print.h"

namespace marvolt {
namespace {

TEST(ParseAddressListTest, SplitsEntriesAndKeepsDisplayNames) {
    struct Case {
        const char* text;
        std::vector<MailAddress> expected;
    };
    const auto bare = [](const char* address) {
        return MailAddress{QString(), QString::fromUtf8(address)};
    };
    const auto named = [](const char* name, const char* address) {
        return MailAddress{QString::fromUtf8(name), QString::fromUtf8(address)};
    };
    const Case cases[] = {
        {"", {}},
        {" , ,", {}},
        {"a@example.com", {bare("a@example.com")}},
        {" a@example.com ,b@example.com ", {bare("a@example.com"), bare("b@example.com")}},
        {"a@example.com; b@example.com", {bare("a@example.com"), bare("b@example.com")}},
        {"Anna <anna@example.com>", {named("Anna", "anna@example.com")}},
        {"<anna@example.com>", {named("", "anna@example.com")}},
        {"\"Smith, Bob\" <bob@example.com>, c@example.com",
         {named("Smith, Bob", "bob@example.com"), bare("c@example.com")}},
        {"\"Say \\\"hi\\\"\" <h@example.com>", {named("Say \"hi\"", "h@example.com")}},
        {"Jörg Müller <jm@example.com>", {named("Jörg Müller", "jm@example.com")}},
        // A comma between angle brackets is no separator.
        {"Odd <a,b@example.com>", {named("Odd", "a,b@example.com")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseAddressList(QString::fromUtf8(c.text)), c.expected);
    }
}

TEST(ComposeMessageTest, BodyIsQuotedPrintableWithShortLinesAndCrlfEnds) {
    MailMessage message;
    message.from = {QStringLiteral("Marvolt Scanner"), QStringLiteral("s@example.org")};
    message.to = {{QString(), QStringLiteral("a@example.com")}};
    message.subject = QStringLiteral("Plain subject");
    message.body = QStringLiteral("a=b\r\nend with blank \nż\r") + QString(200, QLatin1Char('y'));
    message.date = QDateTime(QDate(2024, 3, 1), QTime(12, 30), Qt::UTC);
    message.messageId = QStringLiteral("id@example.org");

    const QByteArray text = ComposeMessage(message);
    const qsizetype split = text.indexOf("\r\n\r\n");
    ASSERT_GT(split, 0);
    const QByteArray headers = text.left(split + 2);
    const QByteArray body = text.mid(split + 4);

    EXPECT_TRUE(headers.contains("Subject: Plain subject\r\n"));
    EXPECT_TRUE(headers.contains("From: Marvolt Scanner <s@example.org>\r\n"));
    EXPECT_TRUE(headers.contains("To: a@example.com\r\n"));
    EXPECT_TRUE(headers.contains("Date: 01 Mar 2024 12:30:00 +0000\r\n"));
    EXPECT_TRUE(headers.contains("Message-ID: <id@example.org>\r\n"));
    EXPECT_TRUE(headers.contains("Content-Type: text/plain; charset=utf-8\r\n"));
    EXPECT_TRUE(headers.contains("Content-Transfer-Encoding: quoted-printable\r\n"));

    EXPECT_TRUE(body.startsWith("a=3Db\r\nend with blank=20\r\n=C5=BC\r\nyyy"));
    EXPECT_TRUE(body.endsWith("yyy\r\n"));
    EXPECT_FALSE(body.contains("\r\n\r\n"));  // no line is invented
    for (const QByteArray& line : body.split('\n')) {
        EXPECT_LE(line.size(), 77) << line.toStdString();  // 76 and the CR
    }
}

}  // namespace
}  // namespace marvolt
