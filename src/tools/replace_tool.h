#pragma once
// The stand-alone replace tool: one regular expression (Perl syntax) applied to the whole text
// of one file, every match replaced by a format string, an optional ".bak" copy of the old
// file, and the result written back into the same file.
//
// The tool never damages the file it works on: a pattern that does not compile, an engine that
// gives up, a file that is not text (it holds a zero byte) or a backup that cannot be made
// leave it untouched, and the new content goes to a temporary file that is renamed into place,
// so a failed write leaves the old content whole.
#include <string>

namespace qz {

inline constexpr const char* kBackupSuffix = ".bak";

struct ReplaceRequest {
  std::string filePath;
  std::string pattern;
  std::string replacement;  // a format string with every feature on: "$1", "\n", "(?1x:y)"
  bool matchCase = false;   // letters match without regard to case unless this is set
  bool keepBackup = false;  // copy the old file to filePath + ".bak" first
};

enum class ReplaceStatus {
  Replaced,      // the new text was written (unchanged when nothing matched)
  NothingToDo,   // empty pattern, or a missing, unreadable or empty file: nothing touched
  BadPattern,    // the pattern does not compile; `detail` holds the engine's reason
  MatchFailed,   // the engine gave up on this text (too complex); `detail` says why
  NotText,       // the file holds a zero byte: refused, because it is not a text file
  ReadOnly,      // the file may not be written
  BackupFailed,  // the ".bak" copy could not be written; the file was left as it was
  WriteFailed,   // the new content could not be stored; the file keeps its old content
};

struct ReplaceOutcome {
  ReplaceStatus status = ReplaceStatus::NothingToDo;
  std::string detail;
};

// Every match of `pattern` in `text` replaced by `replacement`; text between matches is
// copied unchanged. On success `result` holds the new text and the status is Replaced.
ReplaceOutcome replaceInText(const std::string& text, const std::string& pattern,
                             const std::string& replacement, bool matchCase, std::string& result);

// The whole run on one file, in order: pattern, file, backup, write.
ReplaceOutcome runReplace(const ReplaceRequest& request);

}  // namespace qz
