#include "app/notification_channels.h"

#include "data/settings_store.h"
#include "scanner/car_info.h"
#include "scanner/http_client.h"
#include "settings/mail_settings.h"
#include "settings/notification_template.h"
#include "settings/sms_gateway.h"

namespace marvolt {

NotificationChannels::NotificationChannels(SettingsStore& settings, DeploymentConfig config,
                                           EventSink events, Translator translate, DebugLog log)
    : settings_(settings),
      config_(std::move(config)),
      events_(std::move(events)),
      translate_(std::move(translate)),
      log_(std::move(log)) {}

void NotificationChannels::Notify(const CarInfo& car) {
    if (smsEnabled_) {
        SendSmsNotification(car);
    }
    if (emailEnabled_) {
        SendEmailNotification(car);
    }
}

void NotificationChannels::SendSmsNotification(const CarInfo& car) {
    const QString text = FormatNotificationText(
        LoadNotificationTemplate(settings_, QStringLiteral("SMSNotificationFormat"), translate_),
        car, translate_);
    const QString phone = settings_.ReadSettingText(QStringLiteral("PhoneNumber"), QString());
    std::string answer;
    try {
        // A client for this one request.
        HttpClient client(SmsClientOptions());
        answer = SendSms(SmsGateway::FromDeployment(config_), phone, text, client);
    } catch (const HttpError& error) {
        log_.Write(error.what());
        return;
    }
    const SmsResult result = ClassifySmsAnswer(answer);
    if (result != SmsResult::Sent && result != SmsResult::Unrecognised) {
        events_({QStringLiteral("SMS"), translate_(SmsResultMessage(result)),
                 ChannelEvent::Icon::Error, 30});
    }
}

void NotificationChannels::SendEmailNotification(const CarInfo& car) {
    const QString body = FormatNotificationText(
        LoadNotificationTemplate(settings_, QStringLiteral("EmailNotificationFormat"), translate_),
        car, translate_);
    SendMail mail = MakeNotificationMail(MailSettings::Read(settings_), body, translate_);
    if (const auto failure = SendAndReport(mail)) {
        events_({translate_("Error"), *failure, ChannelEvent::Icon::Error, 60});
    }
}

}  // namespace marvolt
