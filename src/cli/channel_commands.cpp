// The notification channels from the command line: the test e-mail and the test SMS, a
// template filled as a channel fills it, the settings store, and the channel switches.
#include <QFile>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/options.h"
#include "data/data_module.h"
#include "data/settings_store.h"
#include "scanner/car_info.h"
#include "scanner/debug_log.h"
#include "scanner/detail_extraction.h"
#include "scanner/http_client.h"
#include "scanner/page_text.h"
#include "settings/deployment_config.h"
#include "settings/mail_settings.h"
#include "settings/notification_template.h"
#include "settings/settings_keys.h"
#include "settings/sms_gateway.h"

namespace marvolt::cli {

namespace {

QCommandLineOption ValueOption(const char* name, const char* description, const char* value) {
    return {QString::fromUtf8(name), QString::fromUtf8(description), QString::fromUtf8(value)};
}

void RequireNoPositional(const QCommandLineParser& parser, const char* command) {
    if (!parser.positionalArguments().isEmpty()) {
        throw UsageError(std::string(command) + " takes options only");
    }
}

int ParseInteger(const QString& text, const char* option) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        throw UsageError(std::string("--") + option + " needs a whole number, not \"" +
                         text.toStdString() + "\"");
    }
    return value;
}

// The raw bytes of FILE, or of standard input for "-".
std::string ReadPage(const QString& path) {
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        throw std::runtime_error("cannot open " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw std::runtime_error("cannot read " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    return bytes.toStdString();
}

void PrintLine(const QString& text) {
    Print(text + QLatin1Char('\n'));
}

}  // namespace

int TestMail(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    const auto server = ValueOption("server", "The SMTP server.", "HOST");
    const auto port = ValueOption("port", "The SMTP port.", "N");
    const QCommandLineOption ssl(QStringLiteral("ssl"), QStringLiteral("Use TLS."));
    const QCommandLineOption noSsl(QStringLiteral("no-ssl"), QStringLiteral("Do not use TLS."));
    const auto login = ValueOption("login", "The SMTP login; empty: none.", "NAME");
    const auto password = ValueOption("password", "The SMTP password.", "TEXT");
    const auto recipient = ValueOption("recipient", "The recipients, comma-separated.", "LIST");
    const auto sender = ValueOption("sender", "The sender's address.", "ADDRESS");
    const auto templateText = ValueOption("template", "The body's template.", "TEXT");
    const auto caFile =
        ValueOption("ca-file", "Trust the authorities in this PEM file only.", "FILE");
    parser.addOptions(
        {server, port, ssl, noSsl, login, password, recipient, sender, templateText, caFile});
    Parse(parser, arguments);
    RequireNoPositional(parser, "test-mail");
    if (parser.isSet(ssl) && parser.isSet(noSsl)) {
        throw UsageError("--ssl and --no-ssl exclude each other");
    }

    DataModule data(DatabasePath(parser));
    MailSettings settings = MailSettings::Read(data.Settings());
    const auto override = [&parser](const QCommandLineOption& option, QString& value) {
        if (parser.isSet(option)) {
            value = parser.value(option);
        }
    };
    override(server, settings.server);
    override(login, settings.login);
    override(password, settings.password);
    override(recipient, settings.recipient);
    override(sender, settings.senderEmail);
    override(caFile, settings.caFile);
    if (parser.isSet(port)) {
        settings.port = ParseInteger(parser.value(port), "port");
    }
    if (parser.isSet(ssl) || parser.isSet(noSsl)) {
        settings.useSsl = parser.isSet(ssl);
    }
    const QString body =
        parser.isSet(templateText)
            ? parser.value(templateText)
            : LoadNotificationTemplate(data.Settings(), keys::kEmailNotificationFormat);

    const MailTestOutcome outcome = SendTestMail(settings, body);
    if (!outcome.sent) {
        throw std::runtime_error(outcome.message.toStdString());
    }
    PrintLine(outcome.message);
    return 0;
}

int TestSms(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    const auto phone = ValueOption("phone", "The destination number.", "NUMBER");
    parser.addOption(phone);
    Parse(parser, arguments);
    RequireNoPositional(parser, "test-sms");

    DataModule data(DatabasePath(parser));
    const QString number = parser.isSet(phone)
                               ? parser.value(phone)
                               : data.Settings().ReadSettingText(keys::kPhoneNumber, QString());
    HttpClient client(SmsDialogClientOptions());
    const SmsTestOutcome outcome =
        SendTestSms(SmsGateway::FromDeployment(DeploymentConfig::Load()), number, client);
    switch (outcome.result) {
        case SmsResult::Sent:
            PrintLine(outcome.message);
            PrintLine(QStringLiteral("SMS messages left: ") + outcome.balance.value_or(QString()));
            return 0;
        case SmsResult::Unrecognised:
            throw std::runtime_error("the SMS gateway's answer was not recognised");
        default:
            throw std::runtime_error(outcome.message.toStdString());
    }
}

int RenderTemplate(const QStringList& arguments) {
    QCommandLineParser parser;
    const auto templateText = ValueOption("template", "The template.", "TEXT");
    const auto page = ValueOption("page", "The detail page (\"-\": standard input).", "FILE");
    const auto id = ValueOption("id", "The vehicle's listing id (default 0).", "N");
    const QCommandLineOption sample(QStringLiteral("sample"),
                                    QStringLiteral("Fill in the test messages' sample values."));
    parser.addOptions({templateText, page, id, sample});
    Parse(parser, arguments);
    RequireNoPositional(parser, "render-template");
    if (!parser.isSet(templateText)) {
        throw UsageError("render-template needs --template TEXT");
    }
    const QString text = parser.value(templateText);
    if (parser.isSet(sample)) {
        if (parser.isSet(page) || parser.isSet(id)) {
            throw UsageError("--sample takes no --page or --id");
        }
        Print(ApplySampleValues(text));
        return 0;
    }
    if (!parser.isSet(page)) {
        throw UsageError("render-template needs --page FILE or --sample");
    }
    const int listing = parser.isSet(id) ? ParseInteger(parser.value(id), "id") : 0;
    const std::string body = ReadPage(parser.value(page));
    CarInfo car;
    ResetCarInfo(car);
    // The extraction's trace lines would only bury the one text this command is for.
    EvaluatePage(NormalizePage(body), car, DebugLog([](std::string_view) {}));
    car.Id = listing;
    Print(FormatNotificationText(text, car));
    return 0;
}

int Settings(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    parser.addPositionalArgument(QStringLiteral("get|set"), QStringLiteral("KEY [VALUE]"));
    Parse(parser, arguments);
    const QStringList words = parser.positionalArguments();
    const QString action = words.value(0);
    if (action == QLatin1String("get") && words.size() == 2) {
        DataModule data(DatabasePath(parser));
        const auto value = data.Settings().ReadSetting(words[1]);
        if (!value) {
            throw std::runtime_error("no setting " + words[1].toStdString());
        }
        PrintLine(*value);
        return 0;
    }
    if (action == QLatin1String("set") && words.size() == 3) {
        if (words[1].isEmpty()) {
            throw UsageError("a setting needs a name");
        }
        DataModule data(DatabasePath(parser));
        data.Settings().WriteSetting(words[1], words[2]);
        return 0;
    }
    throw UsageError("use: settings get KEY | settings set KEY VALUE");
}

int Channel(const QStringList& arguments) {
    QCommandLineParser parser;
    AddDatabaseOption(parser);
    parser.addPositionalArgument(QStringLiteral("enable|disable"), QStringLiteral("sms|email"));
    Parse(parser, arguments);
    const QStringList words = parser.positionalArguments();
    if (words.size() != 2 ||
        (words[0] != QLatin1String("enable") && words[0] != QLatin1String("disable"))) {
        throw UsageError("use: channel enable|disable sms|email");
    }
    QString key;
    if (words[1] == QLatin1String("sms")) {
        key = QStringLiteral("SMSNotification");
    } else if (words[1] == QLatin1String("email")) {
        key = QStringLiteral("EmailNotification");
    } else {
        throw UsageError("the channels are sms and email, not \"" + words[1].toStdString() + "\"");
    }
    DataModule data(DatabasePath(parser));
    // The entry of the switch: 1 "Enabled", 0 "Disabled".
    data.Settings().WriteSetting(key, words[0] == QLatin1String("enable") ? 1 : 0);
    return 0;
}

}  // namespace marvolt::cli
