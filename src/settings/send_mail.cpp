#include "settings/send_mail.h"

#include <QRegularExpression>
#include <QSysInfo>
#include <QUuid>
#include <algorithm>
#include <cstring>

#include "settings/curl_handle.h"

namespace marvolt {

namespace {

constexpr long kConnectTimeoutMs = 3000;
constexpr long kReplyTimeoutSeconds = 3;
constexpr int kImplicitTlsPort = 465;

// What the debug stream says about the server's replies: the last complete one before QUIT,
// and whether nothing was sent after it, which makes it the cause of a failure.
struct ReplyLog {
    int lastCode = 0;
    std::string lastText;
    bool lastEventWasReply = false;
    bool quitSent = false;
    std::string pending;  // text of continuation lines ("250-...") of the reply being read

    void OnLine(std::string line) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
            line.pop_back();
        }
        const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
        if (line.size() < 3 || !std::all_of(line.begin(), line.begin() + 3, isDigit)) {
            return;
        }
        const std::string text = line.size() > 4 ? line.substr(4) : std::string();
        if (line.size() > 3 && line[3] == '-') {
            pending += pending.empty() ? text : " " + text;
            return;
        }
        if (!quitSent) {
            lastCode = std::stoi(line.substr(0, 3));
            lastText = pending.empty() ? text : pending + " " + text;
            lastEventWasReply = true;
        }
        pending.clear();
    }
};

void Record(ReplyLog& log, curl_infotype type, std::string_view chunk) {
    if (type == CURLINFO_HEADER_IN) {
        std::size_t start = 0;
        while (start < chunk.size()) {
            const std::size_t end = chunk.find('\n', start);
            const std::size_t stop = end == std::string_view::npos ? chunk.size() : end + 1;
            log.OnLine(std::string(chunk.substr(start, stop - start)));
            start = stop;
        }
    } else if (type == CURLINFO_HEADER_OUT && chunk.substr(0, 4) == "QUIT") {
        // libcurl says goodbye even after a failure; that exchange explains nothing.
        log.quitSent = true;
    } else if ((type == CURLINFO_HEADER_OUT || type == CURLINFO_DATA_OUT) && !log.quitSent) {
        log.lastEventWasReply = false;
    }
}

int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* context) {
    try {
        Record(*static_cast<ReplyLog*>(context), type, std::string_view(data, size));
    } catch (...) {
        // Nothing may leave a C callback; a reply text lost to a failed allocation is harmless.
    }
    return 0;
}

struct Upload {
    const QByteArray& data;
    qsizetype sent = 0;
};

size_t OnRead(char* buffer, size_t size, size_t count, void* context) {
    auto& upload = *static_cast<Upload*>(context);
    const auto room = static_cast<qsizetype>(size * count);
    const qsizetype chunk = std::min(room, upload.data.size() - upload.sent);
    std::memcpy(buffer, upload.data.constData() + upload.sent, static_cast<size_t>(chunk));
    upload.sent += chunk;
    return static_cast<size_t>(chunk);
}

// Failures of the connection itself, never a verdict of the server.
bool IsTransportFailure(CURLcode code) {
    switch (code) {
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_COULDNT_CONNECT:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_USE_SSL_FAILED:
        case CURLE_GOT_NOTHING:
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_OUT_OF_MEMORY:
        case CURLE_READ_ERROR:
            return true;
        default:
            return false;
    }
}

// The name sent with EHLO: this machine's, when it is a plain host name.
QByteArray EhloName() {
    static const QRegularExpression kHostName(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]*)$"));
    const QString name = QSysInfo::machineHostName();
    return kHostName.match(name).hasMatch() ? name.toLatin1() : QByteArray("localhost");
}

QByteArray ServerUrl(const QString& server, bool implicitTls, int port) {
    QByteArray host = server.toUtf8();
    if (host.contains(':') && !host.startsWith('[')) {
        host = '[' + host + ']';  // an IPv6 address
    }
    return (implicitTls ? QByteArray("smtps://") : QByteArray("smtp://")) + host + ':' +
           QByteArray::number(port) + '/' + EhloName();
}

// A host name or an IP address; "host:port" is refused, as the port has a box of its own.
bool IsUsableServer(const QString& server) {
    if (server.isEmpty() || server.count(QLatin1Char(':')) == 1) {
        return false;
    }
    for (const QChar c : server) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F || QLatin1String("/@?#\\%").contains(c)) {
            return false;
        }
    }
    return true;
}

QString MessageIdDomain(const QString& senderEmail) {
    const QString domain = senderEmail.mid(senderEmail.lastIndexOf(QLatin1Char('@')) + 1);
    static const QRegularExpression kDomain(QStringLiteral("^[A-Za-z0-9.-]+$"));
    return senderEmail.contains(QLatin1Char('@')) && kDomain.match(domain).hasMatch()
               ? domain
               : QStringLiteral("localhost");
}

[[noreturn]] void Fail(const QString& message) {
    throw MailError(message.toStdString());
}

}  // namespace

SmtpReplyError::SmtpReplyError(int replyCode, const std::string& replyText)
    : MailError("The mail server answered: " + std::to_string(replyCode) +
                (replyText.empty() ? std::string() : " " + replyText)),
      replyCode_(replyCode),
      replyText_(replyText) {}

SendMail::SendMail(const QString& server, const QString& login, const QString& password,
                   bool useSsl, int port, const QString& body, const QString& recipient,
                   const QString& senderName, const QString& senderEmail, const QString& subject)
    : server_(server.trimmed()),
      login_(login),
      password_(password),
      useSsl_(useSsl),
      port_(port),
      recipients_(ParseAddressList(recipient)),
      senderEmail_(senderEmail.trimmed()) {
    MailMessage message;
    message.from = {senderName, senderEmail_};
    message.to = recipients_;
    message.subject = subject;
    message.body = body;
    message.date = QDateTime::currentDateTime();
    message.messageId = QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@') +
                        MessageIdDomain(senderEmail_);
    message_ = ComposeMessage(message);
}

void SendMail::Send() {
    if (!IsUsableServer(server_)) {
        Fail(server_.isEmpty()
                 ? QStringLiteral("No e-mail server is set")
                 : QStringLiteral("\"%1\" is not a valid e-mail server name").arg(server_));
    }
    if (port_ < 1 || port_ > 65535) {
        Fail(QStringLiteral("%1 is not a valid SMTP port").arg(port_));
    }
    if (recipients_.empty()) {
        Fail(QStringLiteral("No recipient address is set"));
    }
    for (const MailAddress& recipient : recipients_) {
        if (!IsUsableAddress(recipient.address)) {
            Fail(QStringLiteral("\"%1\" is not a valid recipient address").arg(recipient.address));
        }
    }
    if (!senderEmail_.isEmpty() && !IsUsableAddress(senderEmail_)) {
        Fail(QStringLiteral("\"%1\" is not a valid sender address").arg(senderEmail_));
    }

    const bool implicitTls = useSsl_ && port_ == kImplicitTlsPort;
    CurlEasy curl = MakeCurlEasy();
    CURL* handle = curl.get();
    const QByteArray url = ServerUrl(server_, implicitTls, port_);
    const QByteArray from = '<' + senderEmail_.toUtf8() + '>';
    CurlList recipients;
    for (const MailAddress& recipient : recipients_) {
        const QByteArray address = '<' + recipient.address.toUtf8() + '>';
        AppendToList(recipients, address.constData());
    }
    const QByteArray user = login_.toUtf8();
    const QByteArray password = password_.toUtf8();
    const QByteArray caFile = caFile_.toLocal8Bit();
    char errorText[CURL_ERROR_SIZE] = {};
    ReplyLog replies;
    Upload upload{message_};

    curl_easy_setopt(handle, CURLOPT_URL, url.constData());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, kReplyTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_VERBOSE, 1L);  // feeds OnDebug, prints nothing
    curl_easy_setopt(handle, CURLOPT_DEBUGFUNCTION, OnDebug);
    curl_easy_setopt(handle, CURLOPT_DEBUGDATA, &replies);
    if (useSsl_ && !implicitTls) {
        curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    }
    if (!caFile.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, caFile.constData());
    }
    if (!login_.isEmpty()) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(handle, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    curl_easy_setopt(handle, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, OnRead);
    curl_easy_setopt(handle, CURLOPT_READDATA, &upload);
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message_.size()));

    const CURLcode result = curl_easy_perform(handle);
    if (result == CURLE_OK) {
        return;
    }
    const std::string detail = errorText[0] != '\0' ? errorText : curl_easy_strerror(result);
    // A reply ended the exchange when it was the last thing that happened and it was either a
    // refusal (4xx, 5xx) or a reply libcurl names as the cause (e.g. 250 where 354 belongs).
    // Otherwise the failure is the connection's own or libcurl's (no usable AUTH mechanism).
    const bool replyEnded = !IsTransportFailure(result) && replies.lastEventWasReply &&
                            replies.lastCode != 0 &&
                            (replies.lastCode >= 400 ||
                             detail.find(std::to_string(replies.lastCode)) != std::string::npos);
    if (replyEnded) {
        throw SmtpReplyError(replies.lastCode, replies.lastText);
    }
    if (result == CURLE_LOGIN_DENIED) {
        // Refused by no reply: the server offers no mechanism the login can use.
        Fail(QStringLiteral("The mail server %1:%2 does not offer AUTH LOGIN for the login")
                 .arg(server_)
                 .arg(port_));
    }
    Fail(QStringLiteral("Cannot send the e-mail through %1:%2: %3")
             .arg(server_)
             .arg(port_)
             .arg(QString::fromStdString(detail)));
}

std::optional<QString> SendAndReport(SendMail& mail) {
    try {
        mail.Send();
        return std::nullopt;
    } catch (const SmtpReplyError& error) {
        if (error.ReplyCode() == 250) {
            return std::nullopt;
        }
        return QString::fromStdString(error.what());
    } catch (const std::exception& error) {
        return QString::fromStdString(error.what());
    }
}

}  // namespace marvolt
