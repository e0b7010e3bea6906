#pragma once

#include <QString>

#include "data/data_module.h"
#include "settings/send_mail.h"

namespace marvolt {

class SettingsStore;

// The values from which an e-mail about a found vehicle, or the test e-mail, is made.
struct MailSettings {
    QString server;
    QString login;
    QString password;
    bool useSsl = false;
    int port = 25;
    QString recipient;
    QString senderEmail;
    QString caFile;  // empty: trust the system's authorities

    // The stored settings; a missing key gives the sending path's default (empty, port 25,
    // SSL off).
    static MailSettings Read(const SettingsStore& store);
};

// The e-mail about a found vehicle, or the test e-mail: sender name "Marvolt Scanner" and the
// translated subject "New car found".
SendMail MakeNotificationMail(const MailSettings& settings, const QString& body,
                              const Translator& translate = EnglishText);

// What the test e-mail tells the user.
struct MailTestOutcome {
    bool sent = false;
    QString message;  // "Message sent" (translated), or the failure's message
};

// Sends the test e-mail: `templateText` with the sample values as its body, the given values
// whether stored or not. Never raises; every failure becomes the outcome's message.
MailTestOutcome SendTestMail(const MailSettings& settings, const QString& templateText,
                             const Translator& translate = EnglishText);

}  // namespace marvolt
