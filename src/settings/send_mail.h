#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/mail_message.h"

namespace marvolt {

// An e-mail could not be sent; what() is the message for the user.
class MailError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The mail server answered a command with a reply that ended the exchange.
class SmtpReplyError : public MailError {
  public:
    SmtpReplyError(int replyCode, const std::string& replyText);
    int ReplyCode() const { return replyCode_; }
    // The reply's text after the code, continuation lines joined with blanks.
    const std::string& ReplyText() const { return replyText_; }

  private:
    int replyCode_;
    std::string replyText_;
};

// One plain-text e-mail delivered over SMTP. Port 465 with `useSsl` means TLS from the first
// byte; any other port with `useSsl` switches to TLS by STARTTLS when the server offers it and
// stays plain when it does not. "AUTH LOGIN" is used only when a login is given. Every wait
// for the network is bounded by 3 seconds. The server's certificate is verified against the
// system's trusted authorities unless a CA file is given.
class SendMail {
  public:
    SendMail(const QString& server, const QString& login, const QString& password, bool useSsl,
             int port, const QString& body, const QString& recipient, const QString& senderName,
             const QString& senderEmail, const QString& subject);

    // Trust the authorities in this PEM file instead of the system's, e.g. a server's own
    // self-signed certificate.
    void SetCaFile(const QString& path) { caFile_ = path; }

    // Connects, sends the message to every recipient and disconnects. Raises SmtpReplyError
    // when the server refuses a step and MailError for every other failure.
    void Send();

  private:
    QString server_;
    QString login_;
    QString password_;
    bool useSsl_;
    int port_;
    std::vector<MailAddress> recipients_;
    QString senderEmail_;
    QString caFile_;
    QByteArray message_;
};

// Runs Send and says what the user is to be told: nothing when the message counts as sent
// (a refused reply whose code is 250 included), otherwise the failure's message.
std::optional<QString> SendAndReport(SendMail& mail);

}  // namespace marvolt
