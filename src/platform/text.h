#pragma once
// Text operations on UTF-8 byte strings (the system code page on Linux).
//
// Find, replace and split step over whole characters: a well-formed multi-byte
// UTF-8 sequence is one unit and a malformed byte is a unit of its own, so an
// occurrence never starts inside a character. "Ignoring case" folds ASCII
// letters only; the text itself is never changed by a comparison.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qz {

inline constexpr std::size_t kNotFound = std::string_view::npos;

// Byte length of the character that starts at `pos` (1 for ASCII or a stray byte).
std::size_t characterLength(std::string_view text, std::size_t pos);

// Position of the first occurrence of `what` at or after `from`, or kNotFound.
// An empty `what` is never found.
std::size_t findText(std::string_view text, std::string_view what, bool ignoreCase = false,
                     std::size_t from = 0);
bool containsText(std::string_view text, std::string_view what, bool ignoreCase = false);

// Every non-overlapping occurrence, scanned from the left, replaced by `with`.
std::string replaceText(std::string_view text, std::string_view what, std::string_view with,
                        bool ignoreCase = false);

// Pieces between delimiters. Empty inner and leading pieces remain; no piece follows a
// final delimiter; an empty text gives no pieces ("a/b/" -> a,b; "a//b" -> a,"",b; "/a" -> "",a).
std::vector<std::string> splitText(std::string_view text, std::string_view delimiter);

std::string leftBytes(std::string_view text, std::size_t n);
std::string rightBytes(std::string_view text, std::size_t n);

bool startsWith(std::string_view text, std::string_view prefix, bool ignoreCase = false);
bool endsWith(std::string_view text, std::string_view suffix, bool ignoreCase = false);
std::string asciiLower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Bytes read from a file or the network become text up to their first zero byte.
std::string textUpToZero(std::string_view bytes);

}  // namespace qz
