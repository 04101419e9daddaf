#pragma once
// Writing one file of a capture: the bytes go to a temporary file in the target's directory,
// which is then renamed to the target only if that name is still free. A file is never
// overwritten, even when two writers race, and a failed or stopped write never leaves a
// partial file under the target's name.
#include <cstdint>
#include <string>

namespace qz {

class PageFetcher;

enum class StoreOutcome {
  Written,    // the file now holds the bytes
  NameTaken,  // something of that name appeared meanwhile; it was left alone
  Failed,     // nothing written: no temporary file, no response, or a write error
};

struct StoredFile {
  StoreOutcome outcome = StoreOutcome::Failed;
  std::int64_t bytes = 0;  // size of the written file
};

StoredFile storeBytes(const std::string& path, const std::string& bytes);

// Streams the body of `address` into the file, so memory does not grow with its size. A
// transfer that got no response (including one stopped on request) fails.
StoredFile storeFetched(const std::string& path, const PageFetcher& fetcher,
                        const std::string& address);

}  // namespace qz
