#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "scanner/hand_over.h"

namespace marvolt {

// A hand-over whose owner thread takes the calls in a loop of its own (no event loop):
// the headless scanning of `marvolt run`.
class HandOverQueue : public HandOver {
  public:
    // On the owner's thread: runs the calls waiting now, or waits up to `wait` for one.
    void RunPending(std::chrono::milliseconds wait);

  protected:
    void Post(std::function<void()> task) override;

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace marvolt
