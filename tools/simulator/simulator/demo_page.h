#pragma once

#include <string>
#include <vector>

#include "simulator/listing.h"
#include "simulator/sms_gateway.h"

namespace marvolt::sim {

// The page at "/": the newest listings of every kind and the messages the gateway took, for
// watching a demonstration.
std::string RenderHomePage(const std::vector<Listing>& newest,
                           const std::vector<SmsMessage>& messages, int balance, TimePoint now);

// A small page for an error status.
std::string RenderStatusPage(int status, const std::string& message);

}  // namespace marvolt::sim
