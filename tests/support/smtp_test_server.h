#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace marvolt::test {

// smtp_server.py (aiosmtpd) run as a child process on a loopback port, with what it records.
class SmtpTestServer {
  public:
    // Starts the server with these options of the script (--auth, --starttls, ...) and waits
    // until it listens. Check Error() before use.
    explicit SmtpTestServer(const QStringList& options);
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    // Empty when the server listens; otherwise why it does not.
    const QString& Error() const { return error_; }
    // errno of a failed bind (EACCES for a privileged port), 0 otherwise.
    int BindErrno() const { return bindErrno_; }
    int Port() const { return port_; }

    // Every record up to and including the next message, waiting at most `timeoutMs` for it.
    // A message is written before the server accepts it, so after a successful send it is
    // already there. Empty when no message came.
    std::vector<QJsonObject> EventsUntilMessage(int timeoutMs = 5000);
    // Every record the server has written so far that nobody has read.
    std::vector<QJsonObject> PendingEvents(int waitMs = 200);

  private:
    std::vector<QJsonObject> Read(int timeoutMs, bool untilMessage);

    QProcess process_;
    QByteArray buffer_;
    QString error_;
    int bindErrno_ = 0;
    int port_ = 0;
};

// A self-signed certificate for 127.0.0.1 and localhost, made once per test run.
class TestCertificate {
  public:
    // Raises std::runtime_error when openssl fails.
    static const TestCertificate& Get();
    QString CertFile() const { return folder_.filePath(QStringLiteral("cert.pem")); }
    QString KeyFile() const { return folder_.filePath(QStringLiteral("key.pem")); }

  private:
    TestCertificate();
    QTemporaryDir folder_;
};

// The server options that serve TLS with the test certificate.
QStringList TlsOptions();

}  // namespace marvolt::test

// Fails the test at once when the SMTP test server could not start, with its reason.
#define ASSERT_SERVER_UP(server) \
    ASSERT_TRUE((server).Error().isEmpty()) << (server).Error().toStdString()
