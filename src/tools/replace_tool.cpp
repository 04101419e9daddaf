#include "tools/replace_tool.h"

#include <climits>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <boost/regex.hpp>

#include "platform/files.h"

namespace qz {
namespace {

ReplaceOutcome outcome(ReplaceStatus status, std::string detail = {}) {
  return {status, std::move(detail)};
}

// The file the path finally names, so that a symbolic link stays a link and its target gets
// the new content.
std::string resolvedTarget(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

// Writable for this user, and not marked read-only: a file without any write permission bit
// counts as read-only even for the super-user, like a read-only file on other systems.
bool mayWrite(const std::string& path, const struct stat& info) {
  return ::access(path.c_str(), W_OK) == 0 && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH));
}

// The new content goes to a temporary file beside the target, takes over the target's
// permissions (and owner, where allowed) and is then renamed over it.
bool replaceContent(const std::string& target, const struct stat& info, const std::string& bytes) {
  std::string tempPath;
  const int fd = createTemporaryBeside(target, tempPath);
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, info.st_mode & 07777) == 0;
  if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    // Only the super-user may give a file away; the content matters more than the owner.
  }
  ok = writeToDescriptor(fd, bytes) && ok;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(tempPath.c_str(), target.c_str()) == 0) return true;
  ::unlink(tempPath.c_str());
  return false;
}

}  // namespace

ReplaceOutcome replaceInText(const std::string& text, const std::string& pattern,
                             const std::string& replacement, bool matchCase, std::string& result) {
  boost::regex expression;
  try {
    const boost::regex::flag_type flags =
        matchCase ? boost::regex::perl : boost::regex::perl | boost::regex::icase;
    expression.assign(pattern, flags);
  } catch (const std::exception& error) {
    return outcome(ReplaceStatus::BadPattern, error.what());
  }
  try {
    result = boost::regex_replace(text, expression, replacement,
                                  boost::match_default | boost::format_all);
  } catch (const std::exception& error) {
    // The engine refuses patterns that backtrack without end on this text.
    return outcome(ReplaceStatus::MatchFailed, error.what());
  }
  return outcome(ReplaceStatus::Replaced);
}

ReplaceOutcome runReplace(const ReplaceRequest& request) {
  if (request.pattern.empty()) return outcome(ReplaceStatus::NothingToDo);
  std::string bytes;
  if (!readWholeFile(request.filePath, bytes) || bytes.empty())
    return outcome(ReplaceStatus::NothingToDo);
  // Text ends at its first zero byte; writing back only that part would cut the file short,
  // and replacing in the first part only would be a half-done job. Such a file is not text.
  if (bytes.find('\0') != std::string::npos) return outcome(ReplaceStatus::NotText);

  std::string result;
  ReplaceOutcome replaced =
      replaceInText(bytes, request.pattern, request.replacement, request.matchCase, result);
  if (replaced.status != ReplaceStatus::Replaced) return replaced;

  const std::string target = resolvedTarget(request.filePath);
  struct stat info {};
  if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return outcome(ReplaceStatus::WriteFailed);
  if (!mayWrite(target, info)) return outcome(ReplaceStatus::ReadOnly);
  // A backup the user asked for must exist before the file changes.
  if (request.keepBackup && !copyFileReplacing(request.filePath, request.filePath + kBackupSuffix))
    return outcome(ReplaceStatus::BackupFailed);
  if (!replaceContent(target, info, result)) return outcome(ReplaceStatus::WriteFailed);
  return outcome(ReplaceStatus::Replaced);
}

}  // namespace qz
