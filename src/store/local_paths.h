#pragma once
// Where a capture stores what it fetched: a directory tree below the capture folder that
// mirrors the host and the path of each address. Every path made here stays inside the
// capture folder: a piece "." or ".." of an address never becomes a step out of it.
#include <string>

namespace qz {

// Runs of two or more "/" become one, over the whole path (a leading "//" too).
std::string collapseSeparators(const std::string& path);

// A piece that would step in place or up ("." or "..") with each dot made "_"; any other
// piece, dots included ("...", "%2e%2e"), is an ordinary name and stays as it is.
std::string safePathPiece(const std::string& piece);

// captureFolder + host + directory pieces of the address, ending in "/": the scheme texts are
// dropped, every ":" of a piece becomes "_" (a port), every "?" "_", "." and ".." pieces are
// made safe, doubled separators collapsed.
std::string localDirectoryOf(const std::string& address, const std::string& captureFolder);

// directory + name, with the name made safe and doubled separators collapsed.
std::string localFilePath(const std::string& directory, const std::string& name);

// True when `path` names something strictly below `captureFolder`: it starts with the
// (collapsed) folder and none of the pieces after it is "." or "..".
bool liesInsideFolder(const std::string& path, const std::string& captureFolder);

// The local file name of a page: "index.htm" for a directory address, else its file name,
// with every "?" made "_" and ".htm" appended when it had one. A "." or ".." name is made
// safe. Applies ensureScheme to `address`. Empty for an address ending in "//" after a piece
// with a dot.
std::string pageFileName(std::string& address);

// Every line break of the page becomes CR LF: CR LF pairs stay, a lone CR or a lone LF becomes
// CR LF, and the placeholder "<hhf>" (exactly so) becomes CR LF as well.
std::string normaliseLineBreaks(const std::string& text);

}  // namespace qz
