#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace marvolt {

// Raised into a scanner whose hand-over can no longer be taken because its owner is closing.
class HandOverClosed : public std::runtime_error {
  public:
    HandOverClosed() : std::runtime_error("The program is closing") {}
};

// The synchronous call from a scanner onto its owner's thread: Run returns when `work` has
// run there, and raises in the caller whatever `work` raised. Once the owner closes the
// hand-over, calls that have not begun, and all later ones, raise HandOverClosed instead, so
// no scanner waits for an owner that has stopped taking calls.
class HandOver {
  public:
    virtual ~HandOver() = default;
    void Run(const std::function<void()>& work);
    void Close();

  protected:
    // Arranges for `task` to be called once on the owner's thread. The task holds what it
    // needs; it may safely run after this object is gone, or never.
    virtual void Post(std::function<void()> task) = 0;

  private:
    struct Call;
    std::mutex mutex_;
    bool closed_ = false;
    std::vector<std::weak_ptr<Call>> calls_;  // calls in flight, to be told of a close
};

}  // namespace marvolt
