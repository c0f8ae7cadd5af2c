#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bw::repair {

// The inflated bytes of gzip data (members one after another, as the check reads them). Throws
// PlatformError 75 saying why when the data is not gzip, is damaged or cut short, or inflates
// past `sizeCap`.
std::string Gunzip(std::string_view data, uint64_t sizeCap);

// The bytes as one gzip member, written the same way every time for the same bytes.
std::string Gzip(std::string_view bytes);

}  // namespace bw::repair
