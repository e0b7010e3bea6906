#include "scanner/hand_over_queue.h"

namespace marvolt {

void HandOverQueue::Post(std::function<void()> task) {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    arrived_.notify_all();
}

void HandOverQueue::RunPending(std::chrono::milliseconds wait) {
    std::deque<std::function<void()>> ready;
    {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, wait, [&] { return !tasks_.empty(); });
        ready.swap(tasks_);
    }
    for (auto& task : ready) {
        task();
    }
}

}  // namespace marvolt
