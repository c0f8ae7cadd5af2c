#include "repair/ContentHash.h"

#include <openssl/evp.h>

#include <stdexcept>

namespace bw::repair {

ContentHash HashOf(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available");
    static constexpr char kHex[] = "0123456789abcdef";
    ContentHash hash;
    hash.size = bytes.size();
    hash.sha256.reserve(2 * length);
    for (unsigned int i = 0; i < length; ++i) {
        hash.sha256 += kHex[digest[i] >> 4];
        hash.sha256 += kHex[digest[i] & 15];
    }
    return hash;
}

}  // namespace bw::repair
