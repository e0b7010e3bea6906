// Templates and mail settings as read from a real settings store.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include "data/data_module.h"
#include "settings/mail_settings.h"
#include "settings/notification_template.h"
#include "settings/settings_keys.h"
#include "support/qt_print.h"
#include "support/temp_database.h"

namespace marvolt {
namespace {

class ChannelSettingsTest : public ::testing::Test {
  protected:
    test::TempDatabase file_;
    DataModule data_{file_.Path()};
    SettingsStore& store_ = data_.Settings();
};

QString Tagged(const char* text) {
    return QStringLiteral("[de]") + QString::fromUtf8(text);
}

TEST_F(ChannelSettingsTest, MissingNullAndEmptyTemplatesGiveTheTranslatedDefault) {
    const QString key = keys::kSmsNotificationFormat;
    EXPECT_EQ(LoadNotificationTemplate(store_, key, Tagged), DefaultNotificationTemplate(Tagged));

    store_.WriteSetting(key, QString());
    EXPECT_EQ(LoadNotificationTemplate(store_, key, Tagged), DefaultNotificationTemplate(Tagged));

    QSqlQuery setNull(data_.Database());
    ASSERT_TRUE(setNull.exec(QStringLiteral(
        R"(UPDATE CONFIGURATION SET "VALUE" = NULL WHERE "NAME" = 'SMSNotificationFormat')")));
    EXPECT_EQ(LoadNotificationTemplate(store_, key, Tagged), DefaultNotificationTemplate(Tagged));
    // The default follows the language of the moment.
    EXPECT_EQ(LoadNotificationTemplate(store_, key), DefaultNotificationTemplate());
}

TEST_F(ChannelSettingsTest, AStoredTemplateIsReadAfreshAndNotTranslated) {
    const QString key = keys::kEmailNotificationFormat;
    store_.WriteSetting(key, QStringLiteral("Found: %CAR_INFO%\r\nPrice: %PRICE%"));
    EXPECT_EQ(LoadNotificationTemplate(store_, key, Tagged),
              QStringLiteral("Found: %CAR_INFO%\r\nPrice: %PRICE%"));
    store_.WriteSetting(key, QStringLiteral("changed"));
    EXPECT_EQ(LoadNotificationTemplate(store_, key, Tagged), QStringLiteral("changed"));
    // Other channels' keys are their own.
    EXPECT_EQ(LoadNotificationTemplate(store_, keys::kTrayNotificationFormat),
              DefaultNotificationTemplate());
}

TEST_F(ChannelSettingsTest, MailSettingsDefaultAndStored) {
    const MailSettings empty = MailSettings::Read(store_);
    EXPECT_TRUE(empty.server.isEmpty());
    EXPECT_TRUE(empty.login.isEmpty());
    EXPECT_TRUE(empty.password.isEmpty());
    EXPECT_FALSE(empty.useSsl);
    EXPECT_EQ(empty.port, 25);
    EXPECT_TRUE(empty.recipient.isEmpty());
    EXPECT_TRUE(empty.senderEmail.isEmpty());

    store_.WriteSetting(keys::kEmailServer, QStringLiteral("smtp.example.com"));
    store_.WriteSetting(keys::kEmailLogin, QStringLiteral("john.smith"));
    store_.WriteSetting(keys::kEmailPassword, QStringLiteral("pässword"));
    store_.WriteSetting(keys::kEmailSsl, true);
    store_.WriteSetting(keys::kEmailPort, 465);
    store_.WriteSetting(keys::kEmailRecipient, QStringLiteral("a@example.com, b@example.com"));
    store_.WriteSetting(keys::kEmailSenderEmail, QStringLiteral("me@example.com"));
    const MailSettings stored = MailSettings::Read(store_);
    EXPECT_EQ(stored.server, QStringLiteral("smtp.example.com"));
    EXPECT_EQ(stored.login, QStringLiteral("john.smith"));
    EXPECT_EQ(stored.password, QStringLiteral("pässword"));
    EXPECT_TRUE(stored.useSsl);
    EXPECT_EQ(stored.port, 465);
    EXPECT_EQ(stored.recipient, QStringLiteral("a@example.com, b@example.com"));
    EXPECT_EQ(stored.senderEmail, QStringLiteral("me@example.com"));
}

}  // namespace
}  // namespace marvolt
