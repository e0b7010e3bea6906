#include "support/test_site.h"

#include <stdexcept>

namespace marvolt::test {

Pacing FastPacing() {
    Pacing pacing;
    pacing.slice = std::chrono::microseconds(2);
    return pacing;
}

TestSite::TestSite(int port, bool start) {
    sim::SimulatorOptions options;
    options.port = port;
    options.seed = 7;
    options.ratePerMinute = 0;
    options.backlog = 6;
    options.faultDelay = std::chrono::seconds(12);
    options.clock = [this] {
        return sim::TimePoint(std::chrono::hours(24 * 365 * 56)) + std::chrono::minutes(minutes_);
    };
    site_ = std::make_unique<sim::Simulator>(options);
    if (start) {
        site_->Start();
    }
}

sim::Listing TestSite::SomeCar() {
    for (const auto& listing : site_->Listings()) {
        if (listing.kind == VehicleKind::Cars) {
            return listing;
        }
    }
    throw std::logic_error("no car online");
}

sim::Listing TestSite::Publish(sim::Listing listing, std::int32_t id, bool featured) {
    listing.id = id;
    listing.featured = featured;
    ++minutes_;
    return site_->Publish(std::move(listing));
}

}  // namespace marvolt::test
