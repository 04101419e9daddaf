#include "platform/text.h"

namespace qz {
namespace {

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameBytes(std::string_view text, std::size_t pos, std::string_view what, bool ignoreCase) {
  if (text.size() - pos < what.size()) return false;
  for (std::size_t i = 0; i < what.size(); ++i) {
    char a = text[pos + i], b = what[i];
    if (ignoreCase ? foldAscii(a) != foldAscii(b) : a != b) return false;
  }
  return true;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The allowed range of the byte after a lead byte. Most leads take any continuation byte;
// these few are narrower, so that overlong forms, surrogates and code points above U+10FFFF
// count as malformed (each byte a unit of its own) like any other broken sequence.
bool secondByteFits(unsigned char lead, unsigned char second) {
  switch (lead) {
    case 0xE0: return second >= 0xA0 && second <= 0xBF;
    case 0xED: return second >= 0x80 && second <= 0x9F;
    case 0xF0: return second >= 0x90 && second <= 0xBF;
    case 0xF4: return second >= 0x80 && second <= 0x8F;
    default: return isContinuation(second);
  }
}

}  // namespace

std::size_t characterLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (length == 1 || pos + length > text.size()) return 1;
  if (!secondByteFits(lead, static_cast<unsigned char>(text[pos + 1]))) return 1;
  for (std::size_t i = 2; i < length; ++i)
    if (!isContinuation(static_cast<unsigned char>(text[pos + i]))) return 1;
  return length;
}

std::size_t findText(std::string_view text, std::string_view what, bool ignoreCase,
                     std::size_t from) {
  if (what.empty()) return kNotFound;
  // `from` is always a character boundary produced by an earlier search or zero.
  for (std::size_t pos = from; pos < text.size(); pos += characterLength(text, pos))
    if (sameBytes(text, pos, what, ignoreCase)) return pos;
  return kNotFound;
}

bool containsText(std::string_view text, std::string_view what, bool ignoreCase) {
  return findText(text, what, ignoreCase) != kNotFound;
}

std::string replaceText(std::string_view text, std::string_view what, std::string_view with,
                        bool ignoreCase) {
  std::string result;
  result.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t hit = findText(text, what, ignoreCase); hit != kNotFound;
       hit = findText(text, what, ignoreCase, start)) {
    result.append(text.substr(start, hit - start));
    result.append(with);
    start = hit + what.size();
  }
  result.append(text.substr(start));
  return result;
}

std::vector<std::string> splitText(std::string_view text, std::string_view delimiter) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  std::size_t start = 0;
  for (std::size_t hit = findText(text, delimiter); hit != kNotFound;
       hit = findText(text, delimiter, false, start)) {
    pieces.emplace_back(text.substr(start, hit - start));
    start = hit + delimiter.size();
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

std::string leftBytes(std::string_view text, std::size_t n) {
  return std::string(text.substr(0, n));
}

std::string rightBytes(std::string_view text, std::size_t n) {
  return n >= text.size() ? std::string(text) : std::string(text.substr(text.size() - n));
}

bool startsWith(std::string_view text, std::string_view prefix, bool ignoreCase) {
  return sameBytes(text, 0, prefix, ignoreCase);
}

bool endsWith(std::string_view text, std::string_view suffix, bool ignoreCase) {
  return text.size() >= suffix.size() &&
         sameBytes(text, text.size() - suffix.size(), suffix, ignoreCase);
}

std::string asciiLower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = foldAscii(c);
  return result;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && sameBytes(a, 0, b, true);
}

std::string textUpToZero(std::string_view bytes) {
  return std::string(bytes.substr(0, bytes.find('\0')));
}

}  // namespace qz
