#pragma once

#include <functional>
#include <string_view>

namespace marvolt {

// The trace output of the scanner engine. By default each message becomes one line
// "[Marvolt Scanner] <message>" on standard error; a test or a tool hands in its own sink.
class DebugLog {
  public:
    using Sink = std::function<void(std::string_view message)>;

    // Writes to standard error.
    DebugLog();
    explicit DebugLog(Sink sink);

    void Write(std::string_view message) const;

  private:
    Sink sink_;
};

}  // namespace marvolt
