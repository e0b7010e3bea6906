// The SMS gateway client's encodings and answer rules.
#include "settings/sms_gateway.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/deployment_config.h"

namespace marvolt {
namespace {

TEST(Md5HexTest, GivesUpperCaseHexOfTheBytes) {
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"demo", "FE01CE2A7FBAC8FAFAED7C982A04E229"},
        {"zażółć", "884C73F2B5319AB2BBDA84AACB14EC68"},  // the UTF-8 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Md5Hex(c.text), c.expected);
    }
}

TEST(UrlEncodeTest, FollowsTheByteRules) {
    struct Case {
        std::string text;
        const char* expected;
    };
    const Case cases[] = {
        {"New car", "New+car"},
        {"100%", "100%25"},
        {"a:b", "a%3Ab"},
        {"\r\n", "%0D%0A"},
        {"AZaz09_*-.", "AZaz09_*-."},
        {"+&=?#/~'\"", "%2B%26%3D%3F%23%2F%7E%27%22"},
        {"ż", "%C5%BC"},
        {std::string("\0\x7F\xFF", 3), "%00%7F%FF"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(UrlEncode(c.text), c.expected);
    }
}

TEST(UrlEncodeTest, EveryByteIsKeptOrEscapedWithTwoUpperCaseDigits) {
    const std::string kept = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_*-.";
    for (int value = 0; value < 256; ++value) {
        const char byte = static_cast<char>(value);
        const std::string encoded = UrlEncode(std::string(1, byte));
        SCOPED_TRACE(value);
        if (kept.find(byte) != std::string::npos) {
            EXPECT_EQ(encoded, std::string(1, byte));
        } else if (byte == ' ') {
            EXPECT_EQ(encoded, "+");
        } else {
            char expected[4];
            std::snprintf(expected, sizeof expected, "%%%02X", value);
            EXPECT_EQ(encoded, expected);
        }
    }
}

TEST(ClassifySmsAnswerTest, TheFirstMatchingTestDecides) {
    struct Case {
        const char* answer;
        SmsResult expected;
    };
    const Case cases[] = {
        {"ERROR:13", SmsResult::InvalidPhoneNumber},
        {"ERROR:131", SmsResult::InvalidPhoneNumber},  // substring tests
        {"ERROR:103 ERROR:13", SmsResult::InvalidPhoneNumber},
        {"ERROR:103", SmsResult::NoFunds},
        {"OK:1 ERROR:103", SmsResult::NoFunds},
        {"ERROR:101", SmsResult::InvalidLogin},
        {"ERROR:102", SmsResult::InvalidLogin},
        {"ERROR:102 ERROR:103", SmsResult::NoFunds},
        {"OK:4711", SmsResult::Sent},
        {"id OK: 7", SmsResult::Sent},
        {"ok:1", SmsResult::Unrecognised},  // case-sensitive
        {"error:13", SmsResult::Unrecognised},
        {"ERROR:8", SmsResult::Unrecognised},
        {"", SmsResult::Unrecognised},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        EXPECT_EQ(ClassifySmsAnswer(c.answer), c.expected);
    }
}

TEST(SmsResultMessageTest, EveryResultButUnrecognisedHasItsMessage) {
    EXPECT_STREQ(SmsResultMessage(SmsResult::InvalidPhoneNumber), "Invalid phone number");
    EXPECT_STREQ(SmsResultMessage(SmsResult::NoFunds), "There are no funds in your account");
    EXPECT_STREQ(SmsResultMessage(SmsResult::InvalidLogin), "Invalid login or password");
    EXPECT_STREQ(SmsResultMessage(SmsResult::Sent), "SMS sent");
    EXPECT_EQ(SmsResultMessage(SmsResult::Unrecognised), nullptr);
}

TEST(BalanceFromAnswerTest, TakesTheSecondPieceOfAQuoteAwareSplit) {
    struct Case {
        const char* name;
        std::string answer;
        const char* expected;
    };
    const Case cases[] = {
        {"two pieces", "OK;250", "250"},
        {"more pieces", "credits;250;details;x", "250"},
        {"empty piece dropped", "OK;;250", "250"},
        {"empty pieces everywhere", ";;;OK;;;250;;", "250"},
        {"line breaks separate", "\r\nOK\r\n250\r\n", "250"},
        {"mixed separators", "OK\n;\r\n250", "250"},
        {"double quotes protect separators", "\"a;b\";c", "c"},
        {"quotes stay in the piece", "x;\"1;2\"", "\"1;2\""},
        {"single quotes too", "x;'1\r\n2';y", "'1\r\n2'"},
        {"other quote does not close", "x;'a\"b;c';d", "'a\"b;c'"},
        {"quote in the middle of a piece", "x;ab\"c;d\"e;f", "ab\"c;d\"e"},
        {"unterminated quote runs to the end", "x;'open;rest", "'open;rest"},
        {"blanks are kept", "x; 250 ", " 250 "},
        {"one piece", "250", ""},
        {"empty answer", "", ""},
        {"only separators", ";\r\n;", ""},
        {"an error anywhere", "OK;250;ERROR:101", ""},
        {"an error first", "ERROR:102", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BalanceFromAnswer(c.answer), c.expected);
    }
}

TEST(SmsRequestTest, AddressesCarryTheAccountNumberAndEncodedText) {
    const SmsGateway gateway{QStringLiteral("http://127.0.0.1:8080"), QStringLiteral("demo"),
                             QStringLiteral("demo")};
    EXPECT_EQ(SendSmsUrl(gateway, QStringLiteral("+48123456789"),
                         QStringLiteral("New car: 100% Škoda\r\nok")),
              "http://127.0.0.1:8080/sms.do?username=demo&password=FE01CE2A7FBAC8FAFAED7C982A04E229"
              "&to=+48123456789&message=New+car%3A+100%25+%C5%A0koda%0D%0Aok&from=Orvanta");
    EXPECT_EQ(
        BalanceUrl(gateway),
        "http://127.0.0.1:8080/user.do?username=demo&password=FE01CE2A7FBAC8FAFAED7C982A04E229"
        "&credits=1&details=1");
    EXPECT_THAT(SendSmsUrl(gateway, QString(), QStringLiteral("x")), ::testing::HasSubstr("&to=&"));
}

// A number or user name that would end the query value or start another parameter is escaped;
// what a number normally holds goes out as typed.
TEST(SmsRequestTest, ValuesCannotBreakOutOfTheirParameter) {
    const SmsGateway gateway{QStringLiteral("http://h"), QStringLiteral("me&admin=1"),
                             QStringLiteral("p")};
    const std::string url =
        SendSmsUrl(gateway, QStringLiteral("+48 123&to=999#x"), QStringLiteral("t"));
    EXPECT_THAT(url, ::testing::StartsWith("http://h/sms.do?username=me%26admin%3D1&"));
    EXPECT_THAT(url, ::testing::HasSubstr("&to=+48%20123%26to%3D999%23x&message=t&"));
}

TEST(SmsGatewayTest, AccountAndAddressComeFromTheDeploymentSettings) {
    DeploymentConfig config;
    config.smsBaseUrl = QStringLiteral("http://gateway.example:9000");
    config.smsUser = QStringLiteral("acct");
    config.smsPassword = QStringLiteral("pw");
    const SmsGateway gateway = SmsGateway::FromDeployment(config);
    EXPECT_EQ(gateway.baseUrl, config.smsBaseUrl);
    EXPECT_EQ(gateway.user, config.smsUser);
    EXPECT_EQ(gateway.password, config.smsPassword);
}

}  // namespace
}  // namespace marvolt
