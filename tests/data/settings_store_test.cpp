#include <gtest/gtest.h>

#include "data_fixture.h"
#include "scanner/conversion_error.h"

namespace marvolt::test {
namespace {

using SettingsStoreTest = DataTest;

TEST_F(SettingsStoreTest, UpsertKeepsOneRowPerKey) {
    auto& settings = Data().Settings();
    settings.WriteSetting(QStringLiteral("EmailServer"), QStringLiteral("smtp.example.org"));
    settings.WriteSetting(QStringLiteral("EmailServer"), QStringLiteral("mail.example.org"));
    settings.WriteSetting(QStringLiteral("EmailPort"), 465);

    EXPECT_EQ(QueryValue(QStringLiteral(
                             R"(SELECT COUNT(*) FROM CONFIGURATION WHERE "NAME" = 'EmailServer')"))
                  .toInt(),
              1);
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("EmailServer")),
              QStringLiteral("mail.example.org"));
    EXPECT_EQ(settings.ReadSettingInteger(QStringLiteral("EmailPort"), 25), 465);
    EXPECT_EQ(QueryValue(QStringLiteral(R"(SELECT COUNT(*) FROM CONFIGURATION)")).toInt(), 2);
}

TEST_F(SettingsStoreTest, AbsentAndEmptyValuesFallBackAsEachReaderDefines) {
    auto& settings = Data().Settings();
    const QString fallback = QStringLiteral("fallback");
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("Missing")), std::nullopt);
    EXPECT_EQ(settings.ReadSettingText(QStringLiteral("Missing"), fallback), fallback);
    EXPECT_EQ(settings.ReadSettingInteger(QStringLiteral("Missing"), 7), 7);
    EXPECT_TRUE(settings.ReadSettingBoolean(QStringLiteral("Missing"), true));

    settings.WriteSetting(QStringLiteral("Empty"), QString());
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("Empty")), QString());
    EXPECT_EQ(settings.ReadSettingText(QStringLiteral("Empty"), fallback), fallback);
    // Only an absent key gives the integer default; an empty text is no number.
    EXPECT_THROW(settings.ReadSettingInteger(QStringLiteral("Empty"), 7), ConversionError);
}

TEST_F(SettingsStoreTest, BooleansAreStoredAsMinusOneAndZero) {
    auto& settings = Data().Settings();
    settings.WriteSetting(QStringLiteral("SMSNotification"), true);
    settings.WriteSetting(QStringLiteral("EmailNotification"), false);

    EXPECT_EQ(settings.ReadSetting(QStringLiteral("SMSNotification")), QStringLiteral("-1"));
    EXPECT_EQ(settings.ReadSetting(QStringLiteral("EmailNotification")), QStringLiteral("0"));
    EXPECT_TRUE(settings.ReadSettingBoolean(QStringLiteral("SMSNotification"), false));
    EXPECT_FALSE(settings.ReadSettingBoolean(QStringLiteral("EmailNotification"), true));
}

TEST_F(SettingsStoreTest, BooleanReadAcceptsNumbersAndTrueFalseWords) {
    auto& settings = Data().Settings();
    const struct {
        const char* stored;
        bool expected;
    } cases[] = {{"1", true},    {"0", false},     {"-1", true},  {"42", true},
                 {"TRUE", true}, {"False", false}, {" 0 ", false}};
    for (const auto& c : cases) {
        settings.WriteSetting(QStringLiteral("Flag"), QString::fromLatin1(c.stored));
        EXPECT_EQ(settings.ReadSettingBoolean(QStringLiteral("Flag"), !c.expected), c.expected)
            << c.stored;
    }
}

TEST_F(SettingsStoreTest, NonNumbersRaiseConversionErrorsThatNameTheKey) {
    auto& settings = Data().Settings();
    settings.WriteSetting(QStringLiteral("EmailPort"), QStringLiteral("twenty-five"));
    settings.WriteSetting(QStringLiteral("PlaySound"), QStringLiteral("maybe"));
    const auto expectErrorNaming = [](const auto& read, const std::string& key) {
        try {
            read();
            ADD_FAILURE() << "no conversion error for " << key;
        } catch (const ConversionError& error) {
            EXPECT_NE(std::string(error.what()).find(key), std::string::npos) << error.what();
        }
    };
    expectErrorNaming([&] { settings.ReadSettingInteger(QStringLiteral("EmailPort"), 25); },
                      "EmailPort");
    expectErrorNaming([&] { settings.ReadSettingBoolean(QStringLiteral("PlaySound"), false); },
                      "PlaySound");
}

TEST_F(SettingsStoreTest, LongAndUnicodeTextsRoundTrip) {
    auto& settings = Data().Settings();
    const QString layout = QString(20000, QLatin1Char('x'));
    const QString unicode = QString::fromUtf8("Zażółć gęślą jaźń — 🚗 €");
    settings.WriteSetting(QStringLiteral("GridLayout"), layout);
    settings.WriteSetting(QStringLiteral("EmailNotificationFormat"), unicode);
    EXPECT_EQ(settings.ReadSettingText(QStringLiteral("GridLayout"), QString()), layout);
    EXPECT_EQ(settings.ReadSettingText(QStringLiteral("EmailNotificationFormat"), QString()),
              unicode);
}

}  // namespace
}  // namespace marvolt::test
