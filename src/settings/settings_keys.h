#pragma once

#include <QLatin1String>

namespace marvolt::keys {

// Rows of table CONFIGURATION that the channels and the configuration dialog use.
inline constexpr QLatin1String kPhoneNumber{"PhoneNumber"};
inline constexpr QLatin1String kSmsNotificationFormat{"SMSNotificationFormat"};
inline constexpr QLatin1String kTrayNotificationFormat{"TrayNotificationFormat"};
inline constexpr QLatin1String kEmailNotificationFormat{"EmailNotificationFormat"};
inline constexpr QLatin1String kEmailServer{"EmailServer"};
inline constexpr QLatin1String kEmailPort{"EmailPort"};
inline constexpr QLatin1String kEmailSsl{"EmailSSL"};
inline constexpr QLatin1String kEmailLogin{"EmailLogin"};
inline constexpr QLatin1String kEmailPassword{"EmailPassword"};
inline constexpr QLatin1String kEmailRecipient{"EmailRecipient"};
inline constexpr QLatin1String kEmailSenderEmail{"EmailSenderEmail"};
inline constexpr QLatin1String kLanguage{"Language"};

}  // namespace marvolt::keys
