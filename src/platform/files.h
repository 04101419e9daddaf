#pragma once
// File and directory services with the result codes the capture reports.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qz {

// Result codes of createDirectoryTree. They appear in log lines ("创建目录未知的值 Code:…") and
// keep the numbers the program has always reported.
enum DirectoryCode : int {
  kDirectoryCreated = 0,
  kDirectoryAccessDenied = 5,
  kDirectoryBadPath = 161,
  kDirectoryExists = 183,
};
inline constexpr int kDirectoryErrnoBase = 10000;  // other failures: errno + this base

// Creates `path` together with every missing parent. Returns kDirectoryCreated when the last
// level was made now, kDirectoryExists when it was already a directory, kDirectoryAccessDenied
// (EACCES, EPERM, EROFS), kDirectoryBadPath (empty path, ENAMETOOLONG, EINVAL), else
// kDirectoryErrnoBase + errno.
int createDirectoryTree(const std::string& path);

// Creates exactly one level; the parent must exist. An existing entry is a failure.
bool createSingleDirectory(const std::string& path);

// True when a file, a directory or anything else has this name.
bool pathExists(const std::string& path);

// Writes every byte, going on after short writes and interrupted calls. False on an error.
bool writeToDescriptor(int fd, const char* data, std::size_t size);
bool writeToDescriptor(int fd, const std::string& bytes);

// Whole file as bytes; empty when it is missing or unreadable.
std::string readWholeFile(const std::string& path);
bool readWholeFile(const std::string& path, std::string& bytes);

// Replaces the file's content as a whole: the bytes go to a temporary file in the same
// directory, which is then renamed over the target. A reader never sees half a file.
bool writeFileAtomically(const std::string& path, const std::string& bytes);

// Opens, appends, closes. Creates the file when missing. Nobody keeps it open in between.
bool appendToFile(const std::string& path, const std::string& bytes);

// A temporary file next to `finalPath` (same directory, so a rename is atomic), opened for
// writing. Returns its descriptor (or -1) and sets `tempPath`.
int createTemporaryBeside(const std::string& finalPath, std::string& tempPath);

// Moves `tempPath` to `finalPath` unless `finalPath` exists, atomically: two racing writers
// can never overwrite each other. On refusal or failure the temporary file is removed and
// false is returned; `existed` tells whether the refusal was because the name was taken.
bool publishWithoutReplacing(const std::string& tempPath, const std::string& finalPath,
                             bool* existed = nullptr);

// Copies the bytes of `from` to `to`, replacing `to` (through a temporary file).
bool copyFileReplacing(const std::string& from, const std::string& to);

}  // namespace qz
