// Directory creation with the codes the capture logs, and the file writes that must never
// leave a half-written file or a stray temporary file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/test_environment.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

bool runsAsRoot() { return ::geteuid() == 0; }

bool isDirectory(const std::string& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

// Names of every entry of a folder, so a test sees a stray temporary file.
std::vector<std::string> entriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A place where even root may not create a directory: sysfs refuses mkdir at its top.
bool sysfsRefusesDirectories() {
  struct statfs info {};
  constexpr long kSysfsMagic = 0x62656572;
  return ::statfs("/sys", &info) == 0 && static_cast<long>(info.f_type) == kSysfsMagic;
}

TEST(CreateDirectoryTree, ReturnsTheCodeOfEachOutcome) {
  const std::string scratch = test::makeScratchFolder("tree");
  writeFileAtomically(scratch + "plain-file", "x");
  ::mkdir((scratch + "locked").c_str(), 0555);
  std::string overlong = scratch;
  while (overlong.size() <= 4096) overlong += "level-name/";

  struct Case {
    std::string name, path;
    int code;
    bool makesDirectory;
    bool needsNonRoot = false;
  };
  const std::vector<Case> cases = {
      {"created with every parent", scratch + "a/b/c", kDirectoryCreated, true},
      {"trailing separator", scratch + "t/u/", kDirectoryCreated, true},
      {"doubled separators", scratch + "d//e///f", kDirectoryCreated, true},
      {"already there", scratch + "a/b", kDirectoryExists, true},
      {"already there, trailing separator", scratch + "a/b/c/", kDirectoryExists, true},
      {"empty path", "", kDirectoryBadPath, false},
      {"a name of 300 bytes", scratch + std::string(300, 'n'), kDirectoryBadPath, false},
      {"a path longer than the system allows", overlong, kDirectoryBadPath, false},
      {"a plain file holds the name", scratch + "plain-file",
       kDirectoryErrnoBase + ENOTDIR, false},
      {"a plain file is a parent", scratch + "plain-file/sub",
       kDirectoryErrnoBase + ENOTDIR, false},
      {"a plain file is a grandparent", scratch + "plain-file/sub/deeper",
       kDirectoryErrnoBase + ENOTDIR, false},
      {"a read-only parent", scratch + "locked/sub", kDirectoryAccessDenied, false, true},
      // The refusal one level up is the cause, not the missing parent of the last level.
      {"a read-only grandparent", scratch + "locked/sub/deeper", kDirectoryAccessDenied, false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsNonRoot && runsAsRoot()) continue;  // root passes every permission check
    EXPECT_EQ(createDirectoryTree(c.path), c.code);
    EXPECT_EQ(isDirectory(c.path), c.makesDirectory);
  }
  ::chmod((scratch + "locked").c_str(), 0755);
}

TEST(CreateDirectoryTree, ReportsAccessDeniedWhereNobodyMayCreate) {
  if (!sysfsRefusesDirectories()) GTEST_SKIP() << "/sys is not sysfs here";
  EXPECT_EQ(createDirectoryTree("/sys/quenzil-never-made"), kDirectoryAccessDenied);
  EXPECT_EQ(createDirectoryTree("/sys/quenzil-never-made/sub/deeper"), kDirectoryAccessDenied);
  EXPECT_FALSE(pathExists("/sys/quenzil-never-made"));
}

TEST(WriteFileAtomically, ReplacesTheWholeFileAndLeavesNoTemporaryFile) {
  const std::string scratch = test::makeScratchFolder("atomic");
  const std::string path = scratch + "file.txt";
  ASSERT_TRUE(writeFileAtomically(path, "first, and longer"));
  ASSERT_TRUE(writeFileAtomically(path, std::string("second\0x", 8)));
  EXPECT_EQ(readWholeFile(path), std::string("second\0x", 8));
  ASSERT_TRUE(writeFileAtomically(path, ""));
  EXPECT_EQ(readWholeFile(path), "");
  EXPECT_EQ(entriesOf(scratch), std::vector<std::string>{"file.txt"});
}

TEST(WriteFileAtomically, FailsCleanlyWhenTheTargetCannotBeReplaced) {
  const std::string scratch = test::makeScratchFolder("atomic-fail");
  fs::create_directory(scratch + "a-directory");
  writeFileAtomically(scratch + "a-directory/inside", "kept");

  struct Case {
    std::string name, path;
  };
  const std::vector<Case> cases = {
      {"the name is a directory", scratch + "a-directory"},
      {"the folder is missing", scratch + "missing/file.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(writeFileAtomically(c.path, "new"));
  }
  EXPECT_EQ(entriesOf(scratch), std::vector<std::string>{"a-directory"});
  EXPECT_EQ(readWholeFile(scratch + "a-directory/inside"), "kept");
}

TEST(PublishWithoutReplacing, RefusesATakenNameAndRemovesTheTemporaryFile) {
  const std::string scratch = test::makeScratchFolder("publish");
  const std::string finalPath = scratch + "material.gif";

  std::string firstTemp;
  int fd = createTemporaryBeside(finalPath, firstTemp);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "one", 3), 3);
  ::close(fd);
  EXPECT_EQ(fs::path(firstTemp).parent_path(), fs::path(scratch).parent_path());
  bool existed = true;
  EXPECT_TRUE(publishWithoutReplacing(firstTemp, finalPath, &existed));
  EXPECT_FALSE(existed);

  std::string secondTemp;
  fd = createTemporaryBeside(finalPath, secondTemp);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "two", 3), 3);
  ::close(fd);
  EXPECT_FALSE(publishWithoutReplacing(secondTemp, finalPath, &existed));
  EXPECT_TRUE(existed);

  EXPECT_EQ(readWholeFile(finalPath), "one");
  EXPECT_EQ(entriesOf(scratch), std::vector<std::string>{"material.gif"});
}

TEST(PublishWithoutReplacing, AFailureOtherThanATakenNameIsNoRefusal) {
  const std::string scratch = test::makeScratchFolder("publish-fail");
  std::string temp;
  int fd = createTemporaryBeside(scratch + "x", temp);
  ASSERT_GE(fd, 0);
  ::close(fd);
  bool existed = true;
  EXPECT_FALSE(publishWithoutReplacing(temp, scratch + "missing/x", &existed));
  EXPECT_FALSE(existed);
  EXPECT_TRUE(entriesOf(scratch).empty());
}

TEST(AppendToFile, CreatesThenAppends) {
  const std::string scratch = test::makeScratchFolder("append");
  const std::string path = scratch + "log.txt";
  EXPECT_TRUE(appendToFile(path, "a\r\n"));
  EXPECT_TRUE(appendToFile(path, ""));
  EXPECT_TRUE(appendToFile(path, "b\r\n"));
  EXPECT_EQ(readWholeFile(path), "a\r\nb\r\n");
  EXPECT_FALSE(appendToFile(scratch + "missing/log.txt", "x"));
  EXPECT_FALSE(appendToFile(scratch, "x"));
}

TEST(ReadWholeFile, FailsForWhatIsNoReadableFile) {
  const std::string scratch = test::makeScratchFolder("read");
  std::string bytes = "stale";
  EXPECT_FALSE(readWholeFile(scratch + "missing", bytes));
  EXPECT_EQ(bytes, "");
  EXPECT_FALSE(readWholeFile(scratch, bytes));
  EXPECT_EQ(readWholeFile(scratch + "missing"), "");
}

TEST(CopyFileReplacing, CopiesBytesOverAnExistingFile) {
  const std::string scratch = test::makeScratchFolder("copy");
  writeFileAtomically(scratch + "from", std::string("a\0b", 3));
  writeFileAtomically(scratch + "to", "old and longer");
  EXPECT_TRUE(copyFileReplacing(scratch + "from", scratch + "to"));
  EXPECT_EQ(readWholeFile(scratch + "to"), std::string("a\0b", 3));
  EXPECT_FALSE(copyFileReplacing(scratch + "missing", scratch + "to"));
  EXPECT_EQ(readWholeFile(scratch + "to"), std::string("a\0b", 3));
}

}  // namespace
}  // namespace qz
