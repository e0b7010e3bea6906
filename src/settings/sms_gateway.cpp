#include "settings/sms_gateway.h"

#include <QCryptographicHash>

#include "settings/deployment_config.h"
#include "settings/notification_template.h"

namespace marvolt {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendEscaped(std::string& out, unsigned char byte) {
    out += '%';
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

bool IsAsciiAlphanumeric(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9');
}

// A value the gateway takes as typed: what a query value may hold unescaped stays as it is.
std::string QueryValue(std::string_view text) {
    static constexpr std::string_view kKept = "-._~!$'()*+,:@/?";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsAsciiAlphanumeric(byte) || kKept.find(c) != std::string_view::npos) {
            out += c;
        } else {
            AppendEscaped(out, byte);
        }
    }
    return out;
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}

// An answer of the gateway is a line or two; anything this large is not one.
constexpr std::size_t kMaxAnswerBytes = 1 << 20;

std::string AskGateway(HttpClient& client, const std::string& url) {
    try {
        return client.Get(url);
    } catch (const HttpError& error) {
        const std::string message =
            error.Status() != 0
                ? "The SMS gateway answered with HTTP status " + std::to_string(error.Status())
                : "The SMS gateway cannot be reached: " + error.Reason();
        throw HttpError(message, error.Reason(), error.Status());
    }
}

}  // namespace

HttpOptions SmsClientOptions() {
    HttpOptions options;
    options.userAgent = "Marvolt Scanner";
    options.connectTimeoutMs = 10000;
    options.readTimeoutMs = 10000;
    options.totalTimeoutMs = 15000;
    options.maxBodyBytes = kMaxAnswerBytes;
    return options;
}

HttpOptions SmsDialogClientOptions() {
    HttpOptions options = SmsClientOptions();
    options.followRedirects = true;
    options.keepCookies = true;
    options.accept = "text/html, */*";
    return options;
}

SmsGateway SmsGateway::FromDeployment(const DeploymentConfig& config) {
    return {config.smsBaseUrl, config.smsUser, config.smsPassword};
}

std::string Md5Hex(std::string_view text) {
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(text.data(), static_cast<qsizetype>(text.size())), QCryptographicHash::Md5);
    return digest.toHex().toUpper().toStdString();
}

std::string UrlEncode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsAsciiAlphanumeric(byte) || c == '_' || c == '*' || c == '-' || c == '.') {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            AppendEscaped(out, byte);
        }
    }
    return out;
}

std::string SendSmsUrl(const SmsGateway& gateway, const QString& phoneNumber, const QString& text) {
    return Utf8(gateway.baseUrl) + "/sms.do?username=" + QueryValue(Utf8(gateway.user)) +
           "&password=" + Md5Hex(Utf8(gateway.password)) + "&to=" + QueryValue(Utf8(phoneNumber)) +
           "&message=" + UrlEncode(Utf8(text)) + "&from=Orvanta";
}

std::string BalanceUrl(const SmsGateway& gateway) {
    return Utf8(gateway.baseUrl) + "/user.do?username=" + QueryValue(Utf8(gateway.user)) +
           "&password=" + Md5Hex(Utf8(gateway.password)) + "&credits=1&details=1";
}

std::string SendSms(const SmsGateway& gateway, const QString& phoneNumber, const QString& text,
                    HttpClient& client) {
    return AskGateway(client, SendSmsUrl(gateway, phoneNumber, text));
}

SmsResult ClassifySmsAnswer(std::string_view answer) {
    const auto holds = [answer](std::string_view code) {
        return answer.find(code) != std::string_view::npos;
    };
    if (holds("ERROR:13")) {
        return SmsResult::InvalidPhoneNumber;
    }
    if (holds("ERROR:103")) {
        return SmsResult::NoFunds;
    }
    if (holds("ERROR:101") || holds("ERROR:102")) {
        return SmsResult::InvalidLogin;
    }
    if (holds("OK:")) {
        return SmsResult::Sent;
    }
    return SmsResult::Unrecognised;
}

const char* SmsResultMessage(SmsResult result) {
    switch (result) {
        case SmsResult::InvalidPhoneNumber:
            return "Invalid phone number";
        case SmsResult::NoFunds:
            return "There are no funds in your account";
        case SmsResult::InvalidLogin:
            return "Invalid login or password";
        case SmsResult::Sent:
            return "SMS sent";
        case SmsResult::Unrecognised:
            break;
    }
    return nullptr;
}

std::vector<std::string> SplitAnswerPieces(std::string_view answer) {
    const auto isSeparator = [](char c) { return c == ';' || c == '\r' || c == '\n'; };
    std::vector<std::string> pieces;
    std::size_t at = 0;
    while (at < answer.size()) {
        while (at < answer.size() && (answer[at] == '\r' || answer[at] == '\n')) {
            ++at;
        }
        const std::size_t start = at;
        while (at < answer.size() && !isSeparator(answer[at])) {
            const char c = answer[at++];
            if (c == '"' || c == '\'') {
                const std::size_t close = answer.find(c, at);
                at = close == std::string_view::npos ? answer.size() : close + 1;
            }
        }
        if (at > start) {
            pieces.emplace_back(answer.substr(start, at - start));
        }
        ++at;  // past the separator
    }
    return pieces;
}

std::string BalanceFromAnswer(std::string_view answer) {
    if (answer.find("ERROR:") != std::string_view::npos) {
        return {};
    }
    std::vector<std::string> pieces = SplitAnswerPieces(answer);
    return pieces.size() < 2 ? std::string() : std::move(pieces[1]);
}

QString QuerySmsBalance(const SmsGateway& gateway, HttpClient& client) {
    return QString::fromStdString(BalanceFromAnswer(AskGateway(client, BalanceUrl(gateway))));
}

SmsTestOutcome SendTestSms(const SmsGateway& gateway, const QString& phoneNumber,
                           HttpClient& client, const Translator& translate) {
    const QString text = ApplySampleValues(DefaultNotificationTemplate(translate), translate);
    SmsTestOutcome outcome;
    outcome.result = ClassifySmsAnswer(SendSms(gateway, phoneNumber, text, client));
    if (const char* message = SmsResultMessage(outcome.result)) {
        outcome.message = translate(message);
    }
    if (outcome.result == SmsResult::Sent) {
        outcome.balance = QuerySmsBalance(gateway, client);
    }
    return outcome;
}

}  // namespace marvolt
