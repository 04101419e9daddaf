#include "store/local_paths.h"

#include <vector>

#include "address/address_tools.h"
#include "platform/text.h"

namespace qz {
namespace {

bool stepsOutOfPlace(const std::string& piece) { return piece == "." || piece == ".."; }

}  // namespace

std::string collapseSeparators(const std::string& path) {
  std::string result;
  result.reserve(path.size());
  for (char c : path)
    if (c != '/' || result.empty() || result.back() != '/') result += c;
  return result;
}

std::string safePathPiece(const std::string& piece) {
  return stepsOutOfPlace(piece) ? std::string(piece.size(), '_') : piece;
}

std::string localDirectoryOf(const std::string& address, const std::string& captureFolder) {
  std::string copy = address;
  std::string directory = directoryOf(copy);
  for (const char* scheme : {"http://", "https://"})
    directory = replaceText(directory, scheme, "", true);
  std::string relative;
  for (const std::string& piece : splitText(directory, "/"))
    if (!piece.empty()) relative += safePathPiece(replaceText(piece, ":", "_")) + "/";
  return collapseSeparators(captureFolder + relative);
}

std::string localFilePath(const std::string& directory, const std::string& name) {
  return collapseSeparators(directory + safePathPiece(name));
}

bool liesInsideFolder(const std::string& path, const std::string& captureFolder) {
  const std::string folder = collapseSeparators(withTrailingSeparator(captureFolder));
  const std::string collapsed = collapseSeparators(path);
  if (collapsed.size() <= folder.size() || !startsWith(collapsed, folder)) return false;
  for (const std::string& piece : splitText(collapsed.substr(folder.size()), "/"))
    if (stepsOutOfPlace(piece)) return false;
  return true;
}

std::string pageFileName(std::string& address) {
  ensureScheme(address);
  if (isDirectoryAddress(address)) return "index.htm";
  std::string name = fileNameOf(address);
  if (containsText(name, "?")) name = replaceText(name, "?", "_") + ".htm";
  return safePathPiece(name);
}

std::string normaliseLineBreaks(const std::string& text) {
  // Every kind of break goes through the placeholder first, so a "<hhf>" the page itself
  // holds ends up as a break like the others.
  const char* kPlaceholder = "<hhf>";
  std::string result = replaceText(text, "\r\n", kPlaceholder);
  result = replaceText(result, "\r", kPlaceholder);
  result = replaceText(result, "\n", kPlaceholder);
  return replaceText(result, kPlaceholder, "\r\n");
}

}  // namespace qz
