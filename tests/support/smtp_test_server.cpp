#include "support/smtp_test_server.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <stdexcept>

namespace marvolt::test {

namespace {

constexpr int kStartTimeoutMs = 15000;

}  // namespace

SmtpTestServer::SmtpTestServer(const QStringList& options) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QStringLiteral(MARVOLT_SMTP_PYTHON),
                   QStringList{QStringLiteral(MARVOLT_SMTP_SERVER_SCRIPT)} + options);
    if (!process_.waitForStarted(kStartTimeoutMs)) {
        error_ = QStringLiteral("python does not start: ") + process_.errorString();
        return;
    }
    QDeadlineTimer deadline(kStartTimeoutMs);
    while (!deadline.hasExpired()) {
        for (const QJsonObject& event : Read(static_cast<int>(deadline.remainingTime()), false)) {
            const QString kind = event.value(QStringLiteral("event")).toString();
            if (kind == QLatin1String("ready")) {
                port_ = event.value(QStringLiteral("port")).toInt();
                return;
            }
            if (kind == QLatin1String("error")) {
                bindErrno_ = event.value(QStringLiteral("errno")).toInt();
                error_ = event.value(QStringLiteral("message")).toString();
                return;
            }
        }
        if (process_.state() == QProcess::NotRunning) {
            error_ = QStringLiteral("the server ended: ") +
                     QString::fromUtf8(process_.readAllStandardError());
            return;
        }
    }
    error_ = QStringLiteral("the server did not report ready");
}

SmtpTestServer::~SmtpTestServer() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

std::vector<QJsonObject> SmtpTestServer::EventsUntilMessage(int timeoutMs) {
    return Read(timeoutMs, true);
}

std::vector<QJsonObject> SmtpTestServer::PendingEvents(int waitMs) {
    return Read(waitMs, false);
}

std::vector<QJsonObject> SmtpTestServer::Read(int timeoutMs, bool untilMessage) {
    std::vector<QJsonObject> events;
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        buffer_ += process_.readAllStandardOutput();
        qsizetype end;
        while ((end = buffer_.indexOf('\n')) >= 0) {
            const QByteArray line = buffer_.left(end);
            buffer_.remove(0, end + 1);
            const QJsonObject event = QJsonDocument::fromJson(line).object();
            events.push_back(event);
            if (untilMessage && event.value(QStringLiteral("event")) == QLatin1String("message")) {
                return events;
            }
        }
        if (!untilMessage && !events.empty()) {
            return events;
        }
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) {
            return untilMessage ? std::vector<QJsonObject>() : events;
        }
        process_.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
    }
}

TestCertificate::TestCertificate() {
    if (!folder_.isValid()) {
        throw std::runtime_error("no temporary folder for the test certificate");
    }
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral(MARVOLT_OPENSSL),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=localhost"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1"),
                   QStringLiteral("-keyout"), KeyFile(), QStringLiteral("-out"), CertFile()});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        throw std::runtime_error("openssl could not make the test certificate: " +
                                 openssl.readAll().toStdString());
    }
}

const TestCertificate& TestCertificate::Get() {
    static const TestCertificate certificate;
    return certificate;
}

QStringList TlsOptions() {
    const TestCertificate& certificate = TestCertificate::Get();
    return {QStringLiteral("--cert"), certificate.CertFile(), QStringLiteral("--key"),
            certificate.KeyFile()};
}

}  // namespace marvolt::test
