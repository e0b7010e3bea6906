#include "simulator/md5_hex.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace marvolt::sim {

std::string Md5Hex(std::string_view bytes) {
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          &EVP_MD_CTX_free);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1 ||
        EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1 ||
        EVP_DigestFinal_ex(context.get(), digest, &length) != 1) {
        throw std::runtime_error("MD5 digest is not available");
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 0x0F];
    }
    return hex;
}

}  // namespace marvolt::sim
