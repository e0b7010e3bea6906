#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "simulator/random.h"

namespace marvolt::sim {

enum class RequestKind { Search, Detail, Picture, Gateway };
inline constexpr std::size_t kRequestKindCount = 4;

// What can go wrong with one answer.
enum class Fault {
    Drop,            // the connection is closed before any answer
    Delay,           // the answer comes only after the configured delay
    Status500,       // "500 Internal Server Error"
    Status503,       // "503 Service Unavailable"
    BadUtf8,         // the body is not well-formed UTF-8
    PriceWithDot,    // detail pages only: the price is written "12.450"
    MissingPicture,  // pictures only: "404 Not Found"
    Trickle,         // the body arrives a few bytes at a time
};
inline constexpr std::size_t kFaultCount = 8;

// When a fault strikes: the next `next` requests of its kind, and after those each request
// with the given probability.
struct FaultRule {
    double probability = 0.0;
    int next = 0;
};

// Whether a fault makes sense for a kind of request (a price only exists on detail pages).
bool FaultApplies(Fault fault, RequestKind kind);

std::string_view FaultName(Fault fault);
std::string_view RequestKindName(RequestKind kind);

// The faults asked for, per request kind, and the seeded draws that decide them.
class FaultPlan {
  public:
    explicit FaultPlan(std::uint64_t seed) : random_(seed, 0xFA17) {}

    // Raises std::invalid_argument when the fault does not apply to the kind.
    void Set(RequestKind kind, Fault fault, FaultRule rule);
    void Clear();
    // The fault that strikes this request, if any. Counted faults go first, in the order of
    // the enumeration; then each probability is drawn in that order.
    std::optional<Fault> Draw(RequestKind kind);

  private:
    std::array<std::array<FaultRule, kFaultCount>, kRequestKindCount> rules_{};
    Random random_;
};

// One fault option of the command line, "KIND:FAULT:WHEN": KIND is search, detail, picture,
// gateway or all; FAULT one of drop, delay, 500, 503, bad-utf8, price-dot, no-picture,
// trickle; WHEN "p=0.25" or "next=3". With "all" the fault goes to every kind it applies to.
struct FaultOption {
    std::optional<RequestKind> kind;  // empty: all
    Fault fault = Fault::Drop;
    FaultRule rule;
};
// Raises std::invalid_argument with a message for the user when the text is malformed.
FaultOption ParseFaultOption(std::string_view text);

}  // namespace marvolt::sim
