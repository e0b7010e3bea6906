#include "simulator/sms_gateway.h"

#include "simulator/html_text.h"
#include "simulator/md5_hex.h"
#include "simulator/query_string.h"

namespace marvolt::sim {

namespace {

std::string Value(const std::vector<QueryPiece>& pieces, std::string_view key, bool plusIsSpace) {
    const auto raw = FirstValue(pieces, key);
    return raw ? PercentDecode(*raw, plusIsSpace) : std::string();
}

}  // namespace

bool IsPlausiblePhoneNumber(std::string_view number) {
    if (number.starts_with('+')) {
        number.remove_prefix(1);
    }
    int digits = 0;
    for (char c : number) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c != ' ' && c != '-' && c != '.' && c != '(' && c != ')') {
            return false;
        }
    }
    return digits >= 7 && digits <= 15;
}

std::string SmsGateway::CheckLogin(std::string_view query) const {
    const auto pieces = SplitQuery(query);
    if (Value(pieces, "username", false) != account_.user) {
        return "ERROR:101";
    }
    // The password arrives as the upper-case MD5 of the account's password and nothing else.
    if (Value(pieces, "password", false) != Md5Hex(account_.password)) {
        return "ERROR:102";
    }
    return {};
}

std::string SmsGateway::Send(std::string_view query, TimePoint now) {
    if (auto error = CheckLogin(query); !error.empty()) {
        return error;
    }
    const auto pieces = SplitQuery(query);
    // Clients put a leading "+" into the number as it is, so "+" is no blank here.
    const std::string to = Value(pieces, "to", false);
    if (!IsPlausiblePhoneNumber(to)) {
        return "ERROR:13";
    }
    if (account_.balance <= 0) {
        return "ERROR:103";
    }
    --account_.balance;
    SmsMessage message;
    message.id = std::to_string(1'000'001 + messages_.size());
    message.to = to;
    message.text = Value(pieces, "message", true);
    message.from = Value(pieces, "from", true);
    message.received = now;
    messages_.push_back(message);
    return "OK:" + message.id;
}

std::string SmsGateway::Balance(std::string_view query) const {
    if (auto error = CheckLogin(query); !error.empty()) {
        return error;
    }
    const auto details = FirstValue(SplitQuery(query), "details");
    if (details && *details == "1") {
        return account_.user + ";" + std::to_string(account_.balance) + ";" +
               std::to_string(messages_.size());
    }
    return std::to_string(account_.balance);
}

}  // namespace marvolt::sim
