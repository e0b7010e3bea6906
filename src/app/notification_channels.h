#pragma once

#include <QString>
#include <functional>

#include "app/intake.h"
#include "data/data_module.h"
#include "scanner/debug_log.h"
#include "settings/deployment_config.h"

namespace marvolt {

class SettingsStore;

// What a channel has to tell the user: the tray application shows it as a balloon, `marvolt
// run` prints it.
struct ChannelEvent {
    enum class Icon { Information, Error };
    QString title;
    QString text;
    Icon icon = Icon::Information;
    int seconds = 0;
};

// The SMS and e-mail channels of a found vehicle, in that order, each when switched on. Each
// reads its template and settings afresh for every vehicle. A failing channel never keeps the
// next one from running: a failed SMS request goes to the debug log, gateway refusals and
// failed e-mails become events. (The tray hint and the sound belong to the tray application.)
class NotificationChannels : public NotificationDispatch {
  public:
    using EventSink = std::function<void(const ChannelEvent&)>;

    NotificationChannels(SettingsStore& settings, DeploymentConfig config, EventSink events,
                         Translator translate = EnglishText, DebugLog log = DebugLog());

    void SetSmsEnabled(bool on) { smsEnabled_ = on; }
    void SetEmailEnabled(bool on) { emailEnabled_ = on; }
    bool SmsEnabled() const { return smsEnabled_; }
    bool EmailEnabled() const { return emailEnabled_; }

    void Notify(const CarInfo& car) override;

  private:
    void SendSmsNotification(const CarInfo& car);
    void SendEmailNotification(const CarInfo& car);

    SettingsStore& settings_;
    const DeploymentConfig config_;
    const EventSink events_;
    const Translator translate_;
    const DebugLog log_;
    bool smsEnabled_ = false;
    bool emailEnabled_ = false;
};

}  // namespace marvolt
