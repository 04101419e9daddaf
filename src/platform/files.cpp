#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <linux/fs.h>
#include <sys/syscall.h>

namespace qz {
namespace {

int codeForErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return kDirectoryAccessDenied;
    case ENAMETOOLONG:
    case EINVAL: return kDirectoryBadPath;
    case EEXIST: return kDirectoryExists;
    default: return kDirectoryErrnoBase + error;
  }
}

bool isDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string directoryPart(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int createDirectoryTree(const std::string& path) {
  if (path.empty()) return kDirectoryBadPath;
  if (isDirectory(path)) return kDirectoryExists;
  // Make every parent first. An existing parent is fine; the first one that cannot be made
  // decides the code, as the last level would only report that its parent is missing.
  std::string trimmed = path;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  for (std::size_t slash = trimmed.find('/', 1); slash != std::string::npos;
       slash = trimmed.find('/', slash + 1)) {
    if (slash > 0 && trimmed[slash - 1] == '/') continue;
    if (::mkdir(trimmed.substr(0, slash).c_str(), 0777) != 0 && errno != EEXIST)
      return codeForErrno(errno);
  }
  if (::mkdir(trimmed.c_str(), 0777) == 0) return kDirectoryCreated;
  int error = errno;
  if (error == EEXIST && !isDirectory(trimmed)) return kDirectoryErrnoBase + ENOTDIR;
  return codeForErrno(error);
}

bool createSingleDirectory(const std::string& path) {
  return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
}

bool pathExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::lstat(path.c_str(), &info) == 0;
}

bool writeToDescriptor(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

bool writeToDescriptor(int fd, const std::string& bytes) {
  return writeToDescriptor(fd, bytes.data(), bytes.size());
}

bool readWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ok;
}

std::string readWholeFile(const std::string& path) {
  std::string bytes;
  readWholeFile(path, bytes);
  return bytes;
}

int createTemporaryBeside(const std::string& finalPath, std::string& tempPath) {
  std::string pattern = directoryPart(finalPath) + "/.quenzil-part-XXXXXX";
  int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  tempPath = fd >= 0 ? pattern : std::string();
  if (fd >= 0) ::fchmod(fd, 0644);
  return fd;
}

bool writeFileAtomically(const std::string& path, const std::string& bytes) {
  std::string tempPath;
  int fd = createTemporaryBeside(path, tempPath);
  if (fd < 0) return false;
  bool ok = writeToDescriptor(fd, bytes);
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(tempPath.c_str(), path.c_str()) == 0) return true;
  ::unlink(tempPath.c_str());
  return false;
}

bool appendToFile(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = writeToDescriptor(fd, bytes);
  return (::close(fd) == 0) && ok;
}

bool publishWithoutReplacing(const std::string& tempPath, const std::string& finalPath,
                             bool* existed) {
  if (existed) *existed = false;
  int result = static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, tempPath.c_str(), AT_FDCWD,
                                          finalPath.c_str(), RENAME_NOREPLACE));
  if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
    // File systems without renameat2 flags: a hard link refuses an existing name too.
    result = ::link(tempPath.c_str(), finalPath.c_str());
    if (result == 0) ::unlink(tempPath.c_str());
  }
  if (result == 0) return true;
  if (existed) *existed = (errno == EEXIST);
  ::unlink(tempPath.c_str());
  return false;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
  std::string bytes;
  return readWholeFile(from, bytes) && writeFileAtomically(to, bytes);
}

}  // namespace qz
