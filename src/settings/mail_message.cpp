#include "settings/mail_message.h"

#include <algorithm>

namespace marvolt {

namespace {

// Longest encoded word is kept well under the 76 characters a header line may hold:
// 39 UTF-8 bytes give 52 Base64 characters, 64 with the "=?utf-8?B?" frame.
constexpr qsizetype kEncodedWordBytes = 39;
constexpr qsizetype kQuotedPrintableLine = 76;

bool IsPrintableAscii(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            return false;
        }
    }
    return true;
}

// Line breaks and other controls in a header would end it early or start a new one.
QString WithoutControls(const QString& text) {
    QString cleaned = text;
    for (QChar& c : cleaned) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            c = QLatin1Char(' ');
        }
    }
    return cleaned;
}

// Encoded words of at most kEncodedWordBytes each, never cutting a UTF-8 sequence.
QList<QByteArray> EncodedWords(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QList<QByteArray> words;
    qsizetype start = 0;
    while (start < utf8.size()) {
        qsizetype end = std::min(start + kEncodedWordBytes, utf8.size());
        while (end < utf8.size() && end > start + 1 &&
               (static_cast<unsigned char>(utf8.at(end)) & 0xC0) == 0x80) {
            --end;
        }
        words.append("=?utf-8?B?" + utf8.mid(start, end - start).toBase64() + "?=");
        start = end;
    }
    return words;
}

QByteArray FoldedWords(const QString& text) {
    return EncodedWords(text).join("\r\n ");
}

// Unstructured header text such as the subject.
QByteArray HeaderText(const QString& text, qsizetype nameLength) {
    const QString cleaned = WithoutControls(text);
    const bool plain = IsPrintableAscii(cleaned) && !cleaned.contains(QLatin1String("=?")) &&
                       nameLength + cleaned.size() <= 78;
    return plain ? cleaned.toLatin1() : FoldedWords(cleaned);
}

bool IsAtomText(QChar c) {
    static const QLatin1String kAtomSymbols("!#$%&'*+-/=?^_`{|}~ ");
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || kAtomSymbols.contains(c);
}

QByteArray DisplayName(const QString& name) {
    const QString cleaned = WithoutControls(name).trimmed();
    if (!IsPrintableAscii(cleaned) || cleaned.contains(QLatin1String("=?"))) {
        return FoldedWords(cleaned);
    }
    if (std::all_of(cleaned.begin(), cleaned.end(), IsAtomText)) {
        return cleaned.toLatin1();
    }
    QByteArray quoted = "\"";
    for (const QChar c : cleaned) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            quoted += '\\';
        }
        quoted += c.toLatin1();
    }
    return quoted + '"';
}

QByteArray Mailbox(const MailAddress& mailbox) {
    const QByteArray address = mailbox.address.toUtf8();
    if (mailbox.name.trimmed().isEmpty()) {
        return address;
    }
    return DisplayName(mailbox.name) + " <" + address + ">";
}

QByteArray MailboxList(const std::vector<MailAddress>& mailboxes, qsizetype nameLength) {
    QByteArray list;
    qsizetype lineLength = nameLength;
    for (const MailAddress& mailbox : mailboxes) {
        const QByteArray item = Mailbox(mailbox);
        if (!list.isEmpty()) {
            // Fold before an item whose first line would push this one past 76 characters.
            const qsizetype firstBreak = item.indexOf('\r');
            const qsizetype firstLine = firstBreak < 0 ? item.size() : firstBreak;
            const bool fold = lineLength + 2 + firstLine > 76;
            list += fold ? ",\r\n " : ", ";
            lineLength = fold ? 1 : lineLength + 2;
        }
        list += item;
        const qsizetype lastBreak = item.lastIndexOf('\n');
        lineLength = lastBreak < 0 ? lineLength + item.size() : item.size() - lastBreak - 1;
    }
    return list;
}

QByteArray NormalisedLines(const QString& body) {
    QString text = body;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.toUtf8();
}

// RFC 2045 quoted-printable: lines of at most 76 characters, soft breaks where a source line is
// longer, blanks at a line's end encoded so no transport can strip them.
QByteArray QuotedPrintable(const QString& body) {
    static const char kHex[] = "0123456789ABCDEF";
    const QList<QByteArray> lines = NormalisedLines(body).split('\n');
    QByteArray encoded;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QByteArray& line = lines.at(n);
        qsizetype lineLength = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line.at(i));
            const bool lastOfLine = i + 1 == line.size();
            const bool literal = (byte >= 33 && byte <= 126 && byte != '=') ||
                                 ((byte == ' ' || byte == '\t') && !lastOfLine);
            QByteArray token;
            if (literal) {
                token = QByteArray(1, static_cast<char>(byte));
            } else {
                token = QByteArray("=") + kHex[byte >> 4] + kHex[byte & 0x0F];
            }
            // Room for the token and a soft break's "=" unless the token ends the line.
            const qsizetype limit = lastOfLine ? kQuotedPrintableLine : kQuotedPrintableLine - 1;
            if (lineLength + token.size() > limit) {
                encoded += "=\r\n";
                lineLength = 0;
            }
            encoded += token;
            lineLength += token.size();
        }
        if (n + 1 < lines.size()) {
            encoded += "\r\n";
        }
    }
    // The last line needs its end too; a body that ended with a line break already has it.
    if (!encoded.endsWith("\r\n")) {
        encoded += "\r\n";
    }
    return encoded;
}

}  // namespace

std::vector<MailAddress> ParseAddressList(const QString& text) {
    std::vector<QString> entries;
    QString current;
    bool inQuotes = false;
    bool inAngle = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < text.size()) {
            current += c;
            current += text.at(++i);
            continue;
        }
        if (c == QLatin1Char('"') && !inAngle) {
            inQuotes = !inQuotes;
        } else if (c == QLatin1Char('<') && !inQuotes) {
            inAngle = true;
        } else if (c == QLatin1Char('>') && !inQuotes) {
            inAngle = false;
        } else if ((c == QLatin1Char(',') || c == QLatin1Char(';')) && !inQuotes && !inAngle) {
            entries.push_back(current);
            current.clear();
            continue;
        }
        current += c;
    }
    entries.push_back(current);

    std::vector<MailAddress> mailboxes;
    for (const QString& raw : entries) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty()) {
            continue;
        }
        const qsizetype open = entry.lastIndexOf(QLatin1Char('<'));
        const qsizetype close = entry.lastIndexOf(QLatin1Char('>'));
        if (open < 0 || close < open) {
            mailboxes.push_back({QString(), entry});
            continue;
        }
        QString name = entry.left(open).trimmed();
        if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) &&
            name.endsWith(QLatin1Char('"'))) {
            QString unquoted;
            const QStringView inner = QStringView(name).mid(1, name.size() - 2);
            for (qsizetype i = 0; i < inner.size(); ++i) {
                if (inner.at(i) == QLatin1Char('\\') && i + 1 < inner.size()) {
                    ++i;
                }
                unquoted += inner.at(i);
            }
            name = unquoted;
        }
        mailboxes.push_back({name, entry.mid(open + 1, close - open - 1).trimmed()});
    }
    return mailboxes;
}

bool IsUsableAddress(const QString& address) {
    if (address.isEmpty()) {
        return false;
    }
    for (const QChar c : address) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F || c == QLatin1Char('<') ||
            c == QLatin1Char('>') || c == QLatin1Char('"') || c == QLatin1Char(',')) {
            return false;
        }
    }
    return true;
}

QByteArray ComposeMessage(const MailMessage& message) {
    QByteArray text;
    text += "Date: " + message.date.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    text += "From: " + MailboxList({message.from}, 6) + "\r\n";
    text += "To: " + MailboxList(message.to, 4) + "\r\n";
    text += "Subject: " + HeaderText(message.subject, 9) + "\r\n";
    text += "Message-ID: <" + message.messageId.toLatin1() + ">\r\n";
    text += "MIME-Version: 1.0\r\n";
    text += "Content-Type: text/plain; charset=utf-8\r\n";
    text += "Content-Transfer-Encoding: quoted-printable\r\n";
    text += "\r\n";
    text += QuotedPrintable(message.body);
    return text;
}

}  // namespace marvolt
