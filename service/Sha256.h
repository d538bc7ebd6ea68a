// SHA-256 of a byte string, as lower-case hex: the one-way hash behind the journal's machine
// and battery ids, so that no serial number is stored in clear.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

std::string sha256Hex(std::string_view bytes);

}  // namespace orvane
