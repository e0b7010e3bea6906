#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

namespace marvolt {

// One mailbox: an address with an optional display name.
struct MailAddress {
    QString name;
    QString address;
    bool operator==(const MailAddress&) const = default;
};

// Splits a recipient text into mailboxes. Entries are separated by commas (semicolons are taken
// too, as people type them); each is a bare address or `Name <address>`, the name optionally in
// double quotes, which may hold commas. Empty entries are dropped.
std::vector<MailAddress> ParseAddressList(const QString& text);

// Whether an address can go into an SMTP command and a header as it is: not empty, no blanks,
// control characters, angle brackets or quotes that would change the command or header.
bool IsUsableAddress(const QString& address);

struct MailMessage {
    MailAddress from;
    std::vector<MailAddress> to;
    QString subject;
    QString body;
    QDateTime date;
    QString messageId;  // without the angle brackets
};

// The message as it goes over the wire: headers (non-ASCII text as RFC 2047 encoded words) and
// one text/plain UTF-8 body in quoted-printable, every line ending in CRLF.
QByteArray ComposeMessage(const MailMessage& message);

}  // namespace marvolt
