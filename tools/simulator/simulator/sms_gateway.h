#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulator/listing.h"

namespace marvolt::sim {

struct SmsAccount {
    std::string user = "demo";
    std::string password = "demo";
    int balance = 100;  // messages left
};

// A message the gateway accepted.
struct SmsMessage {
    std::string id;
    std::string to;    // as sent, e.g. "+48123456789"
    std::string text;  // decoded from the request
    std::string from;
    TimePoint received{};
};

// The SMS gateway's account and its two requests. Not thread-safe: the server guards it.
class SmsGateway {
  public:
    explicit SmsGateway(SmsAccount account) : account_(std::move(account)) {}

    // "/sms.do": "OK:" and the message id when the message is accepted, else "ERROR:101"
    // (unknown user), "ERROR:102" (wrong password), "ERROR:13" (not a phone number) or
    // "ERROR:103" (no messages left). Each accepted message costs one.
    std::string Send(std::string_view query, TimePoint now);
    // "/user.do": "user;left;sent" (just the count left without details=1), or the
    // authentication errors of Send.
    std::string Balance(std::string_view query) const;

    const std::vector<SmsMessage>& Messages() const { return messages_; }
    int BalanceLeft() const { return account_.balance; }
    void SetBalance(int balance) { account_.balance = balance; }

  private:
    // Empty when the query's user and password are right, else the error answer.
    std::string CheckLogin(std::string_view query) const;

    SmsAccount account_;
    std::vector<SmsMessage> messages_;
};

// Whether a text looks like a phone number: an optional "+", then 7 to 15 digits, which
// blanks, dashes, dots and brackets may separate.
bool IsPlausiblePhoneNumber(std::string_view number);

}  // namespace marvolt::sim
