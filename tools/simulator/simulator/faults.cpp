#include "simulator/faults.h"

#include <charconv>
#include <stdexcept>

namespace marvolt::sim {

namespace {

constexpr std::array<std::string_view, kFaultCount> kFaultNames{
    "drop", "delay", "500", "503", "bad-utf8", "price-dot", "no-picture", "trickle"};
constexpr std::array<std::string_view, kRequestKindCount> kKindNames{"search", "detail", "picture",
                                                                     "gateway"};

}  // namespace

bool FaultApplies(Fault fault, RequestKind kind) {
    switch (fault) {
        case Fault::BadUtf8:
            return kind != RequestKind::Picture;
        case Fault::PriceWithDot:
            return kind == RequestKind::Detail;
        case Fault::MissingPicture:
            return kind == RequestKind::Picture;
        default:
            return true;
    }
}

std::string_view FaultName(Fault fault) {
    return kFaultNames[static_cast<std::size_t>(fault)];
}

std::string_view RequestKindName(RequestKind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}

void FaultPlan::Set(RequestKind kind, Fault fault, FaultRule rule) {
    if (!FaultApplies(fault, kind)) {
        throw std::invalid_argument("fault \"" + std::string(FaultName(fault)) +
                                    "\" does not apply to " + std::string(RequestKindName(kind)) +
                                    " requests");
    }
    rules_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(fault)] = rule;
}

void FaultPlan::Clear() {
    rules_ = {};
}

std::optional<Fault> FaultPlan::Draw(RequestKind kind) {
    auto& rules = rules_[static_cast<std::size_t>(kind)];
    for (std::size_t i = 0; i < kFaultCount; ++i) {
        if (rules[i].next > 0) {
            --rules[i].next;
            return static_cast<Fault>(i);
        }
    }
    for (std::size_t i = 0; i < kFaultCount; ++i) {
        if (rules[i].probability > 0 && random_.Unit() < rules[i].probability) {
            return static_cast<Fault>(i);
        }
    }
    return std::nullopt;
}

FaultOption ParseFaultOption(std::string_view text) {
    const auto fail = [&](const std::string& why) {
        return std::invalid_argument("bad fault \"" + std::string(text) + "\": " + why +
                                     " (expected KIND:FAULT:p=P or KIND:FAULT:next=N)");
    };
    const auto first = text.find(':');
    const auto second = first == std::string_view::npos ? first : text.find(':', first + 1);
    if (second == std::string_view::npos) {
        throw fail("three parts separated by \":\" needed");
    }
    const auto kindText = text.substr(0, first);
    const auto faultText = text.substr(first + 1, second - first - 1);
    const auto whenText = text.substr(second + 1);

    FaultOption option;
    if (kindText != "all") {
        bool found = false;
        for (std::size_t i = 0; i < kRequestKindCount; ++i) {
            if (kKindNames[i] == kindText) {
                option.kind = static_cast<RequestKind>(i);
                found = true;
            }
        }
        if (!found) {
            throw fail("unknown request kind");
        }
    }
    bool found = false;
    for (std::size_t i = 0; i < kFaultCount; ++i) {
        if (kFaultNames[i] == faultText) {
            option.fault = static_cast<Fault>(i);
            found = true;
        }
    }
    if (!found) {
        throw fail("unknown fault");
    }
    if (option.kind && !FaultApplies(option.fault, *option.kind)) {
        throw fail("that fault does not apply to that request kind");
    }
    if (whenText.starts_with("p=")) {
        const auto number = whenText.substr(2);
        double probability = -1;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), probability);
        if (error != std::errc() || end != number.data() + number.size() || probability < 0 ||
            probability > 1) {
            throw fail("the probability must be a number from 0 to 1");
        }
        option.rule.probability = probability;
    } else if (whenText.starts_with("next=")) {
        const auto number = whenText.substr(5);
        int count = -1;
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), count);
        if (error != std::errc() || end != number.data() + number.size() || count < 0) {
            throw fail("the count must be a whole number of 0 or more");
        }
        option.rule.next = count;
    } else {
        throw fail("say when: p=P or next=N");
    }
    return option;
}

}  // namespace marvolt::sim
