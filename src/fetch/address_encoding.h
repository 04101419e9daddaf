#pragma once
#include <string>

namespace qz {

// The address as it goes on the wire: every byte that may not stand bare in a request line
// (non-ASCII bytes, i.e. UTF-8 sequences, the blank, the other control bytes and DEL) becomes
// %XX with upper-case hex digits. Everything else, an existing "%XX" included, is kept, so an
// address that is already encoded is not encoded twice.
std::string encodeAddressForRequest(const std::string& address);

}  // namespace qz
