#include "address/address_tools.h"

#include <algorithm>
#include <vector>

#include "platform/text.h"

namespace qz {
namespace {

constexpr const char* kHttp = "http://";
constexpr const char* kHttps = "https://";
constexpr const char* kSchemeMarker = "*";

// The scheme texts are replaced by a one-character marker before an address is split at "/",
// so that the two slashes of the scheme make no pieces. Only one scheme text is marked: the
// one that occurs first in the address (normally the one it starts with). Another scheme text
// further on, as in a query string that carries a second address, stays plain text.
struct MarkedAddress {
  std::string text;    // empty when the address holds no scheme text
  std::string scheme;  // "http://" or "https://", the text the marker stands for
  std::string marker;  // the character standing for the scheme in `text`
};

// "*", unless the address holds a "*" of its own ("/a*b/"): restoring would turn that one
// into a scheme too, so a control character the address lacks stands in for it.
std::string markerFor(const std::string& address) {
  if (address.find('*') == std::string::npos) return kSchemeMarker;
  for (char candidate = '\x01'; candidate < '\x20'; ++candidate)
    if (address.find(candidate) == std::string::npos) return std::string(1, candidate);
  return kSchemeMarker;
}

MarkedAddress markScheme(const std::string& address) {
  std::size_t http = findText(address, kHttp, true);
  std::size_t https = findText(address, kHttps, true);
  if (http == kNotFound && https == kNotFound) return {};
  const char* scheme = (https == kNotFound || (http != kNotFound && http < https)) ? kHttp : kHttps;
  std::string marker = markerFor(address);
  return {replaceText(address, scheme, marker, true), scheme, marker};
}

std::string restoreScheme(const std::string& result, const MarkedAddress& marked) {
  return marked.scheme.empty() ? result : replaceText(result, marked.marker, marked.scheme);
}

bool anyPieceAfterFirstHasDot(const std::vector<std::string>& pieces) {
  for (std::size_t i = 1; i < pieces.size(); ++i)
    if (pieces[i].find('.') != std::string::npos) return true;
  return false;
}

}  // namespace

std::string ensureScheme(std::string& address) {
  if (!containsText(address, kHttp, true) && !containsText(address, kHttps, true))
    address = kHttp + address;
  return address;
}

std::string siteRoot(const std::string& address, bool withSlash) {
  std::string scheme;
  std::string rest = address;
  bool hasScheme = containsText(address, "://");
  if (hasScheme) {
    scheme = textBefore(address, "://");
    rest = textAfter(address, "://");
  }
  std::vector<std::string> pieces = splitText(rest, "/");
  if (pieces.empty()) return address;
  std::string root = hasScheme ? scheme + "://" + pieces.front() : pieces.front();
  return withSlash ? root + "/" : root;
}

std::string textBefore(const std::string& text, const std::string& separator) {
  std::size_t at = findText(text, separator, true);
  return at == kNotFound ? text : text.substr(0, at);
}

std::string textAfter(const std::string& text, const std::string& separator) {
  std::size_t at = findText(text, separator, true);
  return at == kNotFound ? std::string() : text.substr(at + separator.size());
}

std::string stripQuotes(const std::string& text) {
  return replaceText(replaceText(text, "\"", ""), "'", "");
}

int countOccurrences(const std::string& text, const std::string& pattern) {
  // A sentinel at the end makes an occurrence at the very end produce a (last) piece.
  const std::string sentinel = pattern == "}" ? "{" : "}";
  return static_cast<int>(splitText(text + sentinel, pattern).size()) - 1;
}

std::string siteName(const std::string& address) {
  std::string host = siteRoot(address, false);
  for (const char* drop : {kHttp, kHttps, "/"}) host = replaceText(host, drop, "", true);
  std::vector<std::string> labels = splitText(host, ".");
  for (const char* ending : {"cn", "net", "org", "com"})
    if (!labels.empty() && labels.back() == ending) labels.pop_back();
  // A host made only of dropped endings ("com", "com.cn") keeps its whole text as its name.
  return labels.empty() ? host : labels.back();
}

std::string siteFolderStem(const std::string& address) {
  std::string stem = siteName(address);
  for (const char* drop : {kHttp, kHttps}) stem = replaceText(stem, drop, "", true);
  for (const char* bad : {"/", "\\", "."}) stem = replaceText(stem, bad, "_", true);
  return stem.empty() ? "site" : stem;
}

std::string withTrailingSeparator(const std::string& path) {
  return (!path.empty() && path.back() == '/') ? path : path + "/";
}

std::string directoryOf(std::string& address) {
  ensureScheme(address);
  MarkedAddress marked = markScheme(address);
  std::vector<std::string> pieces = splitText(marked.text, "/");
  std::string result;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const bool isFileName = pieces[k].find('.') != std::string::npos && k != 0 &&
                            k + 1 == pieces.size();
    if (isFileName) break;
    if (!pieces[k].empty()) result += pieces[k] + "/";
  }
  return replaceText(restoreScheme(result, marked), "?", "_");
}

bool isDirectoryAddress(std::string& address) {
  ensureScheme(address);
  return !anyPieceAfterFirstHasDot(splitText(markScheme(address).text, "/"));
}

std::string fileNameOf(std::string& address) {
  ensureScheme(address);
  MarkedAddress marked = markScheme(address);
  std::vector<std::string> pieces = splitText(marked.text, "/");
  if (!anyPieceAfterFirstHasDot(pieces)) return {};
  // The name stays a single path piece: a scheme inside it ("a.php?u=http://b") is left as
  // its marker "*", never restored into slashes.
  return replaceText(pieces.back(), marked.marker, kSchemeMarker);
}

std::string suffixOf(const std::string& name) {
  std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool isHostOnly(const std::string& directory) {
  int count = 0;
  for (const std::string& piece : splitText(markScheme(directory).text, "/"))
    if (!piece.empty()) ++count;
  return count == 1;
}

std::string upLevels(const std::string& directory, int levels) {
  if (isHostOnly(directory)) return directory;
  MarkedAddress marked = markScheme(directory);
  std::vector<std::string> pieces = splitText(marked.text, "/");
  // A negative count climbs nowhere: at most every piece is kept.
  const long keep = std::min(static_cast<long>(pieces.size()),
                             static_cast<long>(pieces.size()) - levels);
  std::string result;
  for (long i = 0; i < keep; ++i)
    if (!pieces[static_cast<std::size_t>(i)].empty()) result += pieces[static_cast<std::size_t>(i)] + "/";
  result = restoreScheme(result, marked);
  return result.empty() ? siteRoot(directory, true) : result;
}

std::string resolveAddress(std::string& base, std::string& reference) {
  reference = stripQuotes(reference);
  base = stripQuotes(base);
  if (containsText(reference, "://")) return reference;

  std::string root = withTrailingSeparator(siteRoot(base, true));
  const std::string host = root.substr(0, root.size() - 1);
  std::string baseCopy = base;
  const std::string dir = directoryOf(baseCopy);

  if (startsWith(reference, "//")) return textBefore(host, "://") + ":" + reference;
  if (startsWith(reference, "/")) return host + reference;
  if (!startsWith(reference, "../")) return dir + reference;

  const int ups = countOccurrences(reference, "../");
  const std::string rest = replaceText(reference, "../", "");
  // The scheme's "//" must not count as directory levels below the host.
  const int levels = countOccurrences(replaceText(dir, "//", "\\\\"), "/") - 1;
  return ups < levels ? upLevels(dir, ups) + rest : root + rest;
}

}  // namespace qz
