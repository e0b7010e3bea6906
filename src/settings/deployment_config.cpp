#include "settings/deployment_config.h"

#include <QCoreApplication>
#include <QSettings>

#include "scanner/site_interface.h"

namespace marvolt {

namespace {

const QString kDefaultBaseUrl = QString::fromUtf8(
    site::kDefaultBaseUrl.data(), static_cast<qsizetype>(site::kDefaultBaseUrl.size()));

// A trailing "/" would double the one every request path starts with.
QString WithoutTrailingSlash(QString url) {
    while (url.endsWith(QLatin1Char('/'))) {
        url.chop(1);
    }
    return url;
}

}  // namespace

QString DeploymentConfig::FilePath() {
    const QString named = qEnvironmentVariable("MARVOLT_CONFIG");
    return named.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/marvolt.ini")
                           : named;
}

DeploymentConfig DeploymentConfig::Load() {
    const QSettings ini(FilePath(), QSettings::IniFormat);
    DeploymentConfig config;
    config.siteBaseUrl =
        WithoutTrailingSlash(ini.value(QStringLiteral("site/BaseUrl"), kDefaultBaseUrl).toString());
    config.smsBaseUrl =
        WithoutTrailingSlash(ini.value(QStringLiteral("sms/BaseUrl"), kDefaultBaseUrl).toString());
    config.smsUser = ini.value(QStringLiteral("sms/User"), QStringLiteral("demo")).toString();
    config.smsPassword =
        ini.value(QStringLiteral("sms/Password"), QStringLiteral("demo")).toString();
    return config;
}

}  // namespace marvolt
