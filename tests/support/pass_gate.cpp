#include "support/pass_gate.h"

#include <algorithm>

namespace marvolt::test {

void PassGate::OnLog(std::string_view line) {
    std::unique_lock lock(mutex_);
    lines_.emplace_back(line);
    if (!line.starts_with("Opening ")) {
        return;
    }
    ++waiting_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_ || permits_ > 0; });
    if (!open_) {
        --permits_;
    }
    --waiting_;
}

bool PassGate::Waiting() {
    const std::lock_guard lock(mutex_);
    return waiting_ > 0 && permits_ == 0;
}

void PassGate::Release() {
    const std::lock_guard lock(mutex_);
    ++permits_;
    changed_.notify_all();
}

void PassGate::Open() {
    const std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
}

std::vector<std::string> PassGate::Lines() {
    const std::lock_guard lock(mutex_);
    return lines_;
}

void PassGate::Close() {
    const std::lock_guard lock(mutex_);
    open_ = false;
}

int PassGate::Count(const std::string& part) {
    const std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(
        lines_.begin(), lines_.end(),
        [&](const std::string& line) { return line.find(part) != std::string::npos; }));
}

}  // namespace marvolt::test
