#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

// The detail pages under tests/scanner/fixtures, shared by the scanner's tests and benchmarks.
namespace marvolt::test {

// A fixture's bytes as stored; a missing one raises.
inline std::string ReadScannerFixture(const std::string& name) {
    std::ifstream in(std::string(MARVOLT_SCANNER_FIXTURES) + "/" + name, std::ios::binary);
    if (!in) {
        throw std::runtime_error("missing fixture " + name);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The text with every LF preceded by CR, as the site sends its pages.
inline std::string WithCrLf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace marvolt::test
