#include "scanner_harness.h"

#include "scanner/task_hand_over.h"

namespace marvolt::test {

ScannerHarness::~ScannerHarness() {
    gate_.Open();
    handOver_.Close();
    scanner_.reset();
}

CheckThread& ScannerHarness::MakeScanner(const std::string& siteBaseUrl, Pacing pacing) {
    scanner_ = std::make_unique<CheckThread>(
        siteBaseUrl, handOver_, DebugLog([this](std::string_view line) { gate_.OnLog(line); }),
        pacing);
    scanner_->SetOnCarFound([this](CheckThread&, const CarInfo& car) { found_.push_back(car); });
    TaskValues task;
    task.idSchedule = 5;
    task.vehicleKind = 0;
    task.damaged = 1;  // also damaged: the search then leaves no car out
    HandOverTask(task, scanner_->Search());
    return *scanner_;
}

bool ScannerHarness::PumpUntil(const std::function<bool()>& done,
                               std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        handOver_.RunPending(std::chrono::milliseconds(2));
    }
    return true;
}

bool ScannerHarness::RunOnePass() {
    if (!PumpUntil([this] { return gate_.Waiting(); })) {
        return false;
    }
    gate_.Release();
    return PumpUntil([this] { return gate_.Waiting(); });
}

std::vector<std::int32_t> ScannerHarness::FoundIds() const {
    std::vector<std::int32_t> ids;
    for (const auto& car : found_) {
        ids.push_back(car.Id);
    }
    return ids;
}

}  // namespace marvolt::test
