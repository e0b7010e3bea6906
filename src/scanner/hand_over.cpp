#include "scanner/hand_over.h"

#include <algorithm>
#include <condition_variable>
#include <exception>

namespace marvolt {

struct HandOver::Call {
    std::mutex mutex;
    std::condition_variable finished;
    const std::function<void()>* work = nullptr;
    bool started = false;
    bool done = false;
    bool closed = false;
    std::exception_ptr error;
};

void HandOver::Run(const std::function<void()>& work) {
    auto call = std::make_shared<Call>();
    call->work = &work;
    {
        const std::lock_guard lock(mutex_);
        if (closed_) {
            throw HandOverClosed();
        }
        std::erase_if(calls_, [](const auto& weak) { return weak.expired(); });
        calls_.push_back(call);
    }
    Post([call] {
        {
            const std::lock_guard lock(call->mutex);
            if (call->closed) {
                return;  // the caller has given up and left; `work` is gone
            }
            call->started = true;
        }
        try {
            (*call->work)();
        } catch (...) {
            call->error = std::current_exception();
        }
        const std::lock_guard lock(call->mutex);
        call->done = true;
        call->finished.notify_all();
    });
    std::unique_lock lock(call->mutex);
    call->finished.wait(lock, [&] { return call->done || (call->closed && !call->started); });
    if (!call->done) {
        throw HandOverClosed();
    }
    if (call->error) {
        std::rethrow_exception(call->error);
    }
}

void HandOver::Close() {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    for (const auto& weak : calls_) {
        if (const auto call = weak.lock()) {
            const std::lock_guard callLock(call->mutex);
            call->closed = true;
            call->finished.notify_all();
        }
    }
    calls_.clear();
}

}  // namespace marvolt
