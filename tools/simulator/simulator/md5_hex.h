#pragma once

#include <string>
#include <string_view>

namespace marvolt::sim {

// The MD5 digest of the bytes as 32 upper-case hexadecimal digits, the form in which the
// gateway's clients send their password.
std::string Md5Hex(std::string_view bytes);

}  // namespace marvolt::sim
