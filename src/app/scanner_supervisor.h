#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "scanner/check_thread.h"
#include "scanner/task_values.h"

namespace marvolt {

class DataModule;
class RowSet;

// The values of one task-list row as a scanner takes them: null reads as 0 or empty text.
TaskValues TaskValuesOfRow(const RowSet& tasks, int row);

// Keeps one scanner running for every active search task. Scanners told to stop are not
// waited for; they end on their own and are cleared away later. Owner's thread only.
class ScannerSupervisor {
  public:
    struct Options {
        std::string siteBaseUrl;
        Pacing pacing;
        DebugLog log;
    };

    ScannerSupervisor(HandOver& handOver, Options options);
    // Shutdown().
    ~ScannerSupervisor();
    ScannerSupervisor(const ScannerSupervisor&) = delete;
    ScannerSupervisor& operator=(const ScannerSupervisor&) = delete;

    // One scanner per task-list row whose TASK_ACTIVE is 1, each knowing the listing ids
    // already stored for its task and handing new vehicles to `onCarFound`.
    void StartScanners(DataModule& data, const CheckThread::CarFoundHandler& onCarFound);
    // Tells every running scanner to stop, without waiting for any.
    void StopScanners();
    // For closing: closes the hand-over, ends every transfer and waits for every thread.
    void Shutdown();

    // Scanners started and not told to stop.
    int RunningCount() const;

  private:
    void ClearFinished();

    HandOver& handOver_;
    const Options options_;
    mutable std::mutex scannersLock_;
    std::vector<std::unique_ptr<CheckThread>> scanners_;  // running
    std::vector<std::unique_ptr<CheckThread>> stopping_;  // told to stop, maybe still running
};

}  // namespace marvolt
