#pragma once
// The batch download: the only place where materials are fetched. Each entry of a list is
// filtered, resolved against the base address of the text it was found in, and stored under
// the path that mirrors its address in the capture folder.
#include <array>
#include <cstddef>
#include <string>

#include "links/resource_list.h"
#include "store/capture_record.h"

namespace qz {

// Pages embed the scripts of these two outside services nearly everywhere; they are no part
// of a page's own design, so an entry naming either host (ASCII case ignored) is dropped.
//   "cnzz.com"               - a web-analytics counter service (visitor statistics)
//   "googlesyndication.com"  - an advertising-script service (ad loader scripts)
inline constexpr std::array<const char*, 2> kExcludedHosts = {"cnzz.com",
                                                              "googlesyndication.com"};

inline constexpr std::size_t kMaxEntryBytes = 200;   // longer entries are refused as errors
inline constexpr std::size_t kMaxSuffixBytes = 7;    // longer suffixes are skipped silently

// Walks `list` in order, rewriting entries in place (cut at "?" and "#", quotes removed).
// Skipped entries leave no trace; stored ones are logged, counted and listed in the file list;
// stylesheets and scripts that pass the filters are recorded for re-reading. Leaves the batch
// before the next entry once a stop is requested.
void downloadBatch(StoreContext& context, ResourceList& list, const std::string& base);

}  // namespace qz
