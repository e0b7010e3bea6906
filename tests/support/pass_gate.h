#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace marvolt::test {

// Holds every scanner at the start of each later pass ("Opening ...") until the test lets
// one pass through, so a test decides exactly what the site lists when a pass reads it.
class PassGate {
  public:
    // The scanners' debug-log sink: records every line and stops at each pass start.
    void OnLog(std::string_view line);
    // True while a pass waits at the gate.
    bool Waiting();
    void Release();
    // Lets every pass through from now on (before a scanner is stopped), until Close().
    void Open();
    void Close();
    std::vector<std::string> Lines();
    // Whether a line holding `part` was logged, and how many times.
    bool Logged(const std::string& part) { return Count(part) > 0; }
    int Count(const std::string& part);

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    int waiting_ = 0;
    int permits_ = 0;
    bool open_ = false;
};

}  // namespace marvolt::test
