#include "settings/mail_settings.h"

#include "data/settings_store.h"
#include "settings/notification_template.h"
#include "settings/settings_keys.h"

namespace marvolt {

MailSettings MailSettings::Read(const SettingsStore& store) {
    MailSettings settings;
    settings.server = store.ReadSettingText(keys::kEmailServer, QString());
    settings.login = store.ReadSettingText(keys::kEmailLogin, QString());
    settings.password = store.ReadSettingText(keys::kEmailPassword, QString());
    settings.useSsl = store.ReadSettingBoolean(keys::kEmailSsl, false);
    settings.port = store.ReadSettingInteger(keys::kEmailPort, 25);
    settings.recipient = store.ReadSettingText(keys::kEmailRecipient, QString());
    settings.senderEmail = store.ReadSettingText(keys::kEmailSenderEmail, QString());
    return settings;
}

SendMail MakeNotificationMail(const MailSettings& settings, const QString& body,
                              const Translator& translate) {
    SendMail mail(settings.server, settings.login, settings.password, settings.useSsl,
                  settings.port, body, settings.recipient, QStringLiteral("Marvolt Scanner"),
                  settings.senderEmail, translate("New car found"));
    mail.SetCaFile(settings.caFile);
    return mail;
}

MailTestOutcome SendTestMail(const MailSettings& settings, const QString& templateText,
                             const Translator& translate) {
    try {
        SendMail mail =
            MakeNotificationMail(settings, ApplySampleValues(templateText, translate), translate);
        if (const auto failure = SendAndReport(mail)) {
            return {false, *failure};
        }
        return {true, translate("Message sent")};
    } catch (const std::exception& error) {
        return {false, QString::fromStdString(error.what())};
    }
}

}  // namespace marvolt
