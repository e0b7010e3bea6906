#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_module.h"
#include "scanner/http_client.h"

namespace marvolt {

struct DeploymentConfig;

// Where the SMS gateway is and the one account the program uses there.
struct SmsGateway {
    QString baseUrl;  // scheme, host and port; the request paths are appended
    QString user;
    QString password;

    static SmsGateway FromDeployment(const DeploymentConfig& config);
};

// The client of a notification SMS, made for one request: no redirects, and bounded
// time-outs, since the gateway is asked while a scanner waits.
HttpOptions SmsClientOptions();
// The client of the configuration dialog, which serves it for its life: follows redirects,
// keeps cookies and accepts "text/html, */*".
HttpOptions SmsDialogClientOptions();

// How the gateway answered a send request.
enum class SmsResult { InvalidPhoneNumber, NoFunds, InvalidLogin, Sent, Unrecognised };

// The MD5 digest of the bytes as 32 upper-case hexadecimal digits.
std::string Md5Hex(std::string_view text);

// Percent-encoding of a message text: letters, digits and "_*-." stay, a blank becomes "+",
// every other byte "%XX" with upper-case hexadecimal digits.
std::string UrlEncode(std::string_view text);

// The address of the send request. The user name and the phone number go in as they are,
// except bytes that would end or corrupt the query value (such as "&", "#", "%", blanks and
// control characters), which are percent-encoded; a "+" stays "+".
std::string SendSmsUrl(const SmsGateway& gateway, const QString& phoneNumber, const QString& text);
std::string BalanceUrl(const SmsGateway& gateway);

// Sends one SMS and returns the gateway's answer unchanged. Raises HttpError when the request
// fails or the answer has an HTTP error status; its message names the gateway but not the
// address, which holds the account's password digest.
std::string SendSms(const SmsGateway& gateway, const QString& phoneNumber, const QString& text,
                    HttpClient& client);

// The first of these that the answer contains decides: "ERROR:13", "ERROR:103",
// "ERROR:101" or "ERROR:102", "OK:".
SmsResult ClassifySmsAnswer(std::string_view answer);

// The English message for a result, to be passed through the translation; none for
// Unrecognised.
const char* SmsResultMessage(SmsResult result);

// The pieces of a balance answer: separated by ";", CR and LF, empty pieces dropped, a single
// or double quote protecting separators up to the same quote character (quotes are kept).
std::vector<std::string> SplitAnswerPieces(std::string_view answer);

// The remaining messages in a balance answer: its second piece, or empty text when the answer
// holds "ERROR:" or has fewer than two pieces.
std::string BalanceFromAnswer(std::string_view answer);

// Asks the gateway for the account's remaining messages. Raises HttpError as SendSms does.
QString QuerySmsBalance(const SmsGateway& gateway, HttpClient& client);

// What the test SMS tells the user.
struct SmsTestOutcome {
    SmsResult result = SmsResult::Unrecognised;
    QString message;                 // translated; empty for Unrecognised
    std::optional<QString> balance;  // asked afresh after a sent message
};

// Sends the translated default template with the sample values to `phoneNumber` and, when it
// was sent, asks for the balance. A failing request raises HttpError.
SmsTestOutcome SendTestSms(const SmsGateway& gateway, const QString& phoneNumber,
                           HttpClient& client, const Translator& translate = EnglishText);

}  // namespace marvolt
