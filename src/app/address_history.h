#pragma once
// The remembered page addresses: a text file of one address per line ("\r\n" after each), in
// the order they were first added. These operations know the file; the combo box that offers
// the list is AddressHistoryBox.
#include <string>
#include <vector>

namespace qz {

// The non-empty lines of the history text, each with "http://" in front when it has no scheme.
// Lines that occur twice are listed twice.
std::vector<std::string> historyEntries(const std::string& historyText);

struct HistoryAddition {
  bool added = false;    // false when the address (any letter case) already occurs in the file
  bool written = false;  // the file now holds the new line
  std::string entry;     // the address as listed: with its scheme
};

// Adds the address unless it occurs anywhere in the file text already (a substring test that
// ignores letter case, so a site root inside a stored page address counts as stored). The file
// is replaced as a whole by its old text and the new line. A file damaged by a zero byte is
// taken up to that byte, as loading sees it; what follows the zero is not kept.
HistoryAddition addToHistory(const std::string& historyFile, const std::string& address);

// Empties the history file (zero bytes).
bool clearHistoryFile(const std::string& historyFile);

// The site root of a typed address: "http://host" for "http://host/path" or "host/path",
// "https://host" (scheme in small letters) for "HTTPS://host/path"; never a trailing "/".
// The empty text stays empty.
std::string reduceToSiteRoot(const std::string& text);

}  // namespace qz
