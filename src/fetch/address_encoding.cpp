#include "fetch/address_encoding.h"

namespace qz {
namespace {

bool mustBeEncoded(unsigned char byte) { return byte <= 0x20 || byte >= 0x7F; }

}  // namespace

std::string encodeAddressForRequest(const std::string& address) {
  static constexpr char hexDigits[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(address.size());
  for (char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    if (!mustBeEncoded(byte)) {
      encoded += c;
      continue;
    }
    encoded += '%';
    encoded += hexDigits[byte >> 4];
    encoded += hexDigits[byte & 0x0F];
  }
  return encoded;
}

}  // namespace qz
