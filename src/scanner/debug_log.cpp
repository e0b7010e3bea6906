#include "scanner/debug_log.h"

#include <cstdio>
#include <string>
#include <utility>

namespace marvolt {

namespace {

void WriteToStandardError(std::string_view message) {
    // One write per line, so lines of scanners on different threads do not interleave.
    std::string line = "[Marvolt Scanner] ";
    line.append(message);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

DebugLog::DebugLog() : sink_(WriteToStandardError) {}

DebugLog::DebugLog(Sink sink) : sink_(sink ? std::move(sink) : Sink(WriteToStandardError)) {}

void DebugLog::Write(std::string_view message) const {
    sink_(message);
}

}  // namespace marvolt
