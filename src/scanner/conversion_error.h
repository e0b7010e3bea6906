#pragma once

#include <stdexcept>

namespace marvolt {

// A text that should hold a number does not; what() says which text and where it came from.
class ConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace marvolt
