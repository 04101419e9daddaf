#pragma once
// Stores the page source as the first file of a capture.
#include <string>

#include "fetch/page_fetcher.h"
#include "store/capture_record.h"

namespace qz {

// Maps the page address to its local path, creates the directory, and writes the page text
// (the body up to its first zero byte) with normalised line breaks and, when the local-view
// setting is on, every `"/` made `"` so root-relative addresses open from disk. An existing
// file is never replaced (" 已存在", not counted). A fetch that got no response writes nothing
// and counts an error. On success the counters, savedPagePath and the file list are updated.
void savePage(StoreContext& context, const std::string& pageAddress, const FetchResult& page);

}  // namespace qz
