#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scanner/check_thread.h"
#include "scanner/hand_over_queue.h"
#include "support/pass_gate.h"
#include "support/test_site.h"

namespace marvolt::test {

// A test site, one scanner owned by the test, and the test's thread as its owner thread.
class ScannerHarness : public TestSite {
  public:
    using TestSite::TestSite;
    ~ScannerHarness();

    // Makes the scanner for every car of any make, damaged ones included.
    CheckThread& MakeScanner(const std::string& siteBaseUrl, Pacing pacing = FastPacing());
    CheckThread& MakeScanner() { return MakeScanner(BaseUrl()); }
    CheckThread& Scanner() { return *scanner_; }

    // Takes in hand-overs on this thread until `done` holds; false after `timeout`.
    bool PumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds timeout = std::chrono::seconds(30));
    // Lets one later pass run to its end, taking in its hand-overs, and waits at the next.
    bool RunOnePass();

    PassGate& Gate() { return gate_; }
    const std::vector<CarInfo>& Found() const { return found_; }
    std::vector<std::int32_t> FoundIds() const;

  private:
    HandOverQueue handOver_;
    PassGate gate_;
    std::vector<CarInfo> found_;
    std::unique_ptr<CheckThread> scanner_;
};

}  // namespace marvolt::test
