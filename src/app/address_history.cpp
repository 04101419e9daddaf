#include "app/address_history.h"

#include "address/address_tools.h"
#include "platform/files.h"
#include "platform/text.h"

namespace qz {
namespace {

constexpr const char* kLineEnd = "\r\n";

std::string historyText(const std::string& historyFile) {
  return textUpToZero(readWholeFile(historyFile));
}

// The first "/"-piece of the text, with the scheme (any letter case) hidden behind "*" while
// splitting and put back in small letters. `found` is false when the text gives no piece.
std::string firstPieceKeepingScheme(const std::string& text, const char* scheme, bool& found) {
  const std::vector<std::string> pieces = splitText(replaceText(text, scheme, "*", true), "/");
  found = !pieces.empty();
  return found ? replaceText(pieces.front(), "*", scheme) : std::string();
}

}  // namespace

std::vector<std::string> historyEntries(const std::string& text) {
  std::vector<std::string> entries;
  for (std::string line : splitText(text, kLineEnd)) {
    if (line.empty()) continue;
    entries.push_back(ensureScheme(line));
  }
  return entries;
}

HistoryAddition addToHistory(const std::string& historyFile, const std::string& address) {
  HistoryAddition result;
  std::string entry = address;
  result.entry = ensureScheme(entry);
  const std::string text = historyText(historyFile);
  if (containsText(text, result.entry, true)) return result;
  result.added = true;
  result.written = writeFileAtomically(historyFile, text + result.entry + kLineEnd);
  return result;
}

bool clearHistoryFile(const std::string& historyFile) {
  return writeFileAtomically(historyFile, std::string());
}

std::string reduceToSiteRoot(const std::string& text) {
  bool found = false;
  if (containsText(text, "https://", true)) {
    const std::string piece = firstPieceKeepingScheme(text, "https://", found);
    return found ? piece : text;
  }
  const std::string piece = firstPieceKeepingScheme(text, "http://", found);
  if (!found) return text;
  return containsText(text, "http://", true) ? piece : "http://" + piece;
}

}  // namespace qz
