#include "simulator/market.h"

#include <algorithm>
#include <stdexcept>

namespace marvolt::sim {

namespace {

// A site keeps old listings for a while; the stand-in keeps this many, dropping the oldest.
constexpr std::size_t kMaxOnline = 20000;
// Listings older than this are not worth making up after a long sleep of the clock.
constexpr std::chrono::milliseconds kMaxCatchUp = std::chrono::hours(48);

}  // namespace

Market::Market(std::uint32_t seed, double ratePerMinute, int backlog, TimePoint start)
    : catalogue_(seed), ratePerMinute_(ratePerMinute), schedule_(seed, 0xC10C) {
    if (backlog > 0) {
        const auto spread =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::hours(30));
        const auto spacing = spread / backlog;
        for (int i = 0; i < backlog; ++i) {
            Listing listing = catalogue_.Generate(nextIndex_++);
            const auto jitter = std::chrono::milliseconds(static_cast<std::int64_t>(
                schedule_.Unit() * static_cast<double>(spacing.count()) / 2));
            listing.created = start - spacing * (backlog - i) + jitter;
            Add(std::move(listing));
        }
    }
    nextDue_ = ratePerMinute_ > 0 ? start + NextGap() : TimePoint::max();
}

std::chrono::milliseconds Market::NextGap() {
    // Gaps between half and one and a half times the mean, so arrivals are not regular.
    const double mean = 60'000.0 / ratePerMinute_;
    return std::chrono::milliseconds(static_cast<std::int64_t>(mean * (0.5 + schedule_.Unit())));
}

void Market::CatchUp(TimePoint now) {
    if (ratePerMinute_ <= 0) {
        return;
    }
    // After a long sleep of the clock, make up no more than the site keeps.
    const auto window = std::min<std::chrono::milliseconds>(
        kMaxCatchUp, std::chrono::milliseconds(static_cast<std::int64_t>(
                         60'000.0 / ratePerMinute_ * static_cast<double>(kMaxOnline))));
    if (now - nextDue_ > window) {
        nextDue_ = now - window;
    }
    while (nextDue_ <= now) {
        Listing listing = catalogue_.Generate(nextIndex_++);
        listing.created = nextDue_;
        Add(std::move(listing));
        nextDue_ += NextGap();
    }
}

const Listing& Market::PublishNext(TimePoint now) {
    Listing listing = catalogue_.Generate(nextIndex_++);
    listing.created = now;
    return Add(std::move(listing));
}

const Listing& Market::Publish(Listing listing, TimePoint now) {
    if (listing.id == 0) {
        // Take the id the catalogue would have used, so later ids stay larger and unique.
        listing.id = catalogue_.Generate(nextIndex_++).id;
    } else if (Find(listing.id) != nullptr) {
        throw std::invalid_argument("listing " + std::to_string(listing.id) + " is already online");
    }
    listing.created = now;
    return Add(std::move(listing));
}

const Listing& Market::Add(Listing listing) {
    if (online_.size() >= kMaxOnline) {
        online_.erase(online_.begin());
    }
    online_.push_back(std::move(listing));
    return online_.back();
}

const Listing* Market::Find(std::int32_t id) const {
    const auto found = std::find_if(online_.begin(), online_.end(),
                                    [id](const Listing& listing) { return listing.id == id; });
    return found == online_.end() ? nullptr : &*found;
}

std::vector<const Listing*> Market::Newest() const {
    std::vector<const Listing*> listings;
    listings.reserve(online_.size());
    for (const auto& listing : online_) {
        listings.push_back(&listing);
    }
    std::stable_sort(listings.begin(), listings.end(), [](const Listing* a, const Listing* b) {
        return a->created != b->created ? a->created > b->created : a->id > b->id;
    });
    return listings;
}

}  // namespace marvolt::sim
