#include "store/stored_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "fetch/page_fetcher.h"
#include "platform/files.h"

namespace qz {
namespace {

// Runs `fill` on a fresh temporary file beside `path` and publishes it under `path` when
// `fill` succeeded. The temporary file never outlives this call.
StoredFile storeThrough(const std::string& path, const std::function<bool(int fd)>& fill) {
  std::string tempPath;
  const int fd = createTemporaryBeside(path, tempPath);
  if (fd < 0) return {};
  bool filled = fill(fd);
  struct stat info {};
  filled = ::fstat(fd, &info) == 0 && filled;
  filled = ::close(fd) == 0 && filled;
  if (!filled) {
    ::unlink(tempPath.c_str());
    return {};
  }
  bool existed = false;
  if (publishWithoutReplacing(tempPath, path, &existed))
    return {StoreOutcome::Written, static_cast<std::int64_t>(info.st_size)};
  return {existed ? StoreOutcome::NameTaken : StoreOutcome::Failed, 0};
}

}  // namespace

StoredFile storeBytes(const std::string& path, const std::string& bytes) {
  return storeThrough(path, [&](int fd) { return writeToDescriptor(fd, bytes); });
}

StoredFile storeFetched(const std::string& path, const PageFetcher& fetcher,
                        const std::string& address) {
  return storeThrough(path, [&](int fd) {
    return fetcher.fetchToDescriptor(address, fd).received;
  });
}

}  // namespace qz
