#pragma once
// Operations on address texts. An address is never parsed into a structure, percent-decoded
// or lower-cased: every operation works on the text with the rules of platform/text.h.
// "http://" and "https://" are the only scheme texts; a dot in the last path piece marks a
// file name; "../" is the only relative step understood.
//
// Some operations update their argument in place (noted on each): callers rely on it, for
// example the batch download logs and fetches the quote-free entry that resolveAddress leaves.
#include <string>

namespace qz {

// "http://" in front when neither "http://" nor "https://" occurs anywhere (any case).
// Updates `address` and returns it.
std::string ensureScheme(std::string& address);

// Scheme, "://" and host (the first piece after the scheme), plus "/" when withSlash.
std::string siteRoot(const std::string& address, bool withSlash);

// Text before / after the first occurrence of `separator` (ASCII case ignored). When the
// separator is absent, textBefore gives the whole text and textAfter the empty text.
std::string textBefore(const std::string& text, const std::string& separator);
std::string textAfter(const std::string& text, const std::string& separator);

// The text without any double or single quote.
std::string stripQuotes(const std::string& text);

// Number of non-overlapping occurrences of `pattern` in `text`.
int countOccurrences(const std::string& text, const std::string& pattern);

// The distinctive label of the host: endings "cn", "net", "org", "com" are dropped (each
// tested once, in this order, with case) and the last remaining label is taken. When only
// dropped endings made the host (e.g. "com.cn"), the whole host is the name.
std::string siteName(const std::string& address);

// siteName made fit for a folder name ("/", "\", "." become "_"); never empty ("site").
std::string siteFolderStem(const std::string& address);

// The path with a "/" appended unless it already ends in one; "" gives "/".
std::string withTrailingSeparator(const std::string& path);

// The directory address, ending in "/": empty pieces dropped, a last piece with a dot taken
// as the file name and dropped, every "?" made "_". Applies ensureScheme to `address`.
std::string directoryOf(std::string& address);

// True when no path piece after the host contains ".". Applies ensureScheme to `address`.
bool isDirectoryAddress(std::string& address);

// The last piece when some piece after the host contains ".", else empty.
// Applies ensureScheme to `address`.
std::string fileNameOf(std::string& address);

// Text after the last "." of a file name, or empty when it has none.
std::string suffixOf(const std::string& name);

// True when the directory address has exactly one non-empty piece after its scheme.
bool isHostOnly(const std::string& directory);

// The directory address `levels` levels higher; never above the site root.
std::string upLevels(const std::string& directory, int levels);

// The absolute address of `reference` found in a text whose address is `base`. Quotes are
// removed from both, and the cleaned texts are written back into the arguments.
std::string resolveAddress(std::string& base, std::string& reference);

}  // namespace qz
