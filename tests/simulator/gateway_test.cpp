// The SMS gateway's two requests over the wire, and the page that shows what it received.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "simulator/md5_hex.h"
#include "test_site.h"

namespace marvolt::sim {
namespace {

TEST(Md5HexTest, UpperCaseDigestOfTheBytes) {
    EXPECT_EQ(Md5Hex("demo"), "FE01CE2A7FBAC8FAFAED7C982A04E229");
    EXPECT_EQ(Md5Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(Md5Hex("pa ss&\xC3\xBC"), "F80FA0F5079AA15F61C02CBF2537709C");
}

class GatewayTest : public ::testing::Test {
  protected:
    GatewayTest() : site_(Options()) {}

    static SimulatorOptions Options() {
        SimulatorOptions options = test::TestSite::Quiet();
        options.sms = {"anna", "s3cret", 3};
        return options;
    }

    std::string Get(const std::string& path) {
        const auto answer = site_.Client()->Get(path);
        EXPECT_TRUE(answer) << path;
        if (!answer) {
            return "<no answer>";
        }
        EXPECT_EQ(answer->status, 200) << path;
        return answer->body;
    }

    std::string Send(const std::string& user, const std::string& password, const std::string& to,
                     const std::string& message) {
        return Get("/sms.do?username=" + user + "&password=" + password + "&to=" + to +
                   "&message=" + message + "&from=Orvanta");
    }

    std::string Balance(const std::string& password = Md5Hex("s3cret")) {
        return Get("/user.do?username=anna&password=" + password + "&credits=1&details=1");
    }

    static std::string SecondPiece(const std::string& answer) {
        const auto first = answer.find(';');
        return first == std::string::npos
                   ? ""
                   : answer.substr(first + 1, answer.find(';', first + 1) - first - 1);
    }

    test::TestSite site_;
};

TEST_F(GatewayTest, AnswersTheCodesTheClientClassifies) {
    const std::string good = Md5Hex("s3cret");
    std::string lower = good;
    for (auto& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const struct {
        std::string user, password, to, expected;
    } cases[] = {
        {"anna", good, "+48123456789", "OK:"},
        {"anna", good, "0049-30-1234567", "OK:"},
        {"bert", good, "+48123456789", "ERROR:101"},
        {"", good, "+48123456789", "ERROR:101"},
        {"anna", Md5Hex("wrong"), "+48123456789", "ERROR:102"},
        {"anna", "s3cret", "+48123456789", "ERROR:102"},  // the password itself, not its digest
        {"anna", lower, "+48123456789", "ERROR:102"},     // the digest must be upper case
        {"anna", good, "", "ERROR:13"},
        {"anna", good, "call+me", "ERROR:13"},
        {"anna", good, "12345", "ERROR:13"},
        {"anna", good, "+1234567890123456", "ERROR:13"},
    };
    for (const auto& c : cases) {
        const std::string answer = Send(c.user, c.password, c.to, "Hello");
        EXPECT_TRUE(answer.starts_with(c.expected)) << c.user << " " << c.to << ": " << answer;
    }
    EXPECT_EQ(site_.simulator->Messages().size(), 2u);
}

TEST_F(GatewayTest, KeepsEveryAcceptedMessageDecodedAndCountsTheBalance) {
    const std::string password = Md5Hex("s3cret");
    EXPECT_EQ(SecondPiece(Balance()), "3");

    const std::string first = Send("anna", password, "+48123456789",
                                   "New+car+Citro%C3%ABn%3A+EUR+5%2C000+%26+more%0D%0Aline+2");
    ASSERT_TRUE(first.starts_with("OK:")) << first;
    EXPECT_GT(first.size(), 3u);
    const std::string second = Send("anna", password, "+48987654321", "100%25");
    ASSERT_TRUE(second.starts_with("OK:")) << second;
    EXPECT_NE(first, second);  // every message has its own id

    const auto messages = site_.simulator->Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].to, "+48123456789");
    EXPECT_EQ(messages[0].text, "New car Citro\xC3\xABn: EUR 5,000 & more\r\nline 2");
    EXPECT_EQ(messages[0].from, "Orvanta");
    EXPECT_EQ(messages[0].id, first.substr(3));
    EXPECT_EQ(messages[1].text, "100%");
    EXPECT_EQ(SecondPiece(Balance()), "1");
    EXPECT_EQ(site_.simulator->SmsBalance(), 1);

    EXPECT_TRUE(Send("anna", password, "+48123456789", "third").starts_with("OK:"));
    EXPECT_EQ(Send("anna", password, "+48123456789", "fourth"), "ERROR:103");
    EXPECT_EQ(SecondPiece(Balance()), "0");
    EXPECT_EQ(site_.simulator->Messages().size(), 3u);

    // A refused number is refused before the empty account is.
    EXPECT_EQ(Send("anna", password, "x", "fifth"), "ERROR:13");
    site_.simulator->SetSmsBalance(5);
    EXPECT_TRUE(Send("anna", password, "+48123456789", "sixth").starts_with("OK:"));

    EXPECT_EQ(Balance(Md5Hex("nope")), "ERROR:102");
    EXPECT_EQ(Get("/user.do?username=eve&password=" + password + "&credits=1&details=1"),
              "ERROR:101");
}

TEST_F(GatewayTest, HomePageShowsListingsAndReceivedMessages) {
    const Listing listing = site_.simulator->PublishNow();
    Send("anna", Md5Hex("s3cret"), "+48123456789", "Found%3A+a+%3Cb%3Ebargain%3C%2Fb%3E");
    const std::string page = Get("/");
    EXPECT_NE(page.find(listing.headline), std::string::npos);
    EXPECT_NE(page.find("+48123456789"), std::string::npos);
    // Message texts are shown as text, never as mark-up.
    EXPECT_NE(page.find("Found: a &lt;b&gt;bargain&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(page.find("<b>bargain"), std::string::npos);
}

}  // namespace
}  // namespace marvolt::sim
