// The INI profile layer: a write touches the line of its own key and nothing else, a read
// gives the default for whatever is missing, and a failed write leaves the old file whole.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/profile.h"
#include "support/test_environment.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> entriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

TEST(ReadProfileString, FindsKeysWithoutRegardToCase) {
  const std::string file = test::makeScratchFolder("profile-read") + "settings.ini";
  writeFileAtomically(file,
                      "top=outside any section\r\n"
                      "[Other]\r\n"
                      "Key=from other\r\n"
                      "[Quenzil]\r\n"
                      "Key = spaced value  \r\n"
                      "empty=\r\n"
                      "目录=/home/ana/下载\n"
                      "Mixed=Case Value\r\n"
                      "Key=second occurrence\r\n"
                      "[quenzil]\r\n"
                      "late=in a repeated header\r\n"
                      "last=no line end");
  struct Case {
    std::string section, key, fallback, expected;
  };
  const std::vector<Case> cases = {
      {"Quenzil", "Key", "dflt", "spaced value"},
      {"QUENZIL", "kEy", "dflt", "spaced value"},
      {"Quenzil", "MIXED", "dflt", "Case Value"},
      {"Quenzil", "目录", "dflt", "/home/ana/下载"},
      {"Quenzil", "empty", "dflt", ""},  // present but empty: not the default
      {"Quenzil", "late", "dflt", "in a repeated header"},
      {"Quenzil", "last", "dflt", "no line end"},
      {"Other", "key", "dflt", "from other"},
      {"Quenzil", "top", "dflt", "dflt"},  // a key before any header belongs to no section
      {"Quenzil", "missing", "dflt", "dflt"},
      {"Missing", "Key", "dflt", "dflt"},
      {"Missing", "Key", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("[" + c.section + "] " + c.key);
    EXPECT_EQ(readProfileString(file, c.section, c.key, c.fallback), c.expected);
  }
  const std::string missingFile = file + ".missing";
  EXPECT_EQ(readProfileString(missingFile, "Quenzil", "Key", "dflt"), "dflt");
  EXPECT_FALSE(pathExists(missingFile));
}

TEST(ReadProfileString, CutsALongValueToTheReadLimit) {
  const std::string file = test::makeScratchFolder("profile-limit") + "settings.ini";
  struct Case {
    std::size_t storedBytes, readBytes;
  };
  const std::vector<Case> cases = {
      {kProfileValueLimit - 1, kProfileValueLimit - 1},
      {kProfileValueLimit, kProfileValueLimit},
      {kProfileValueLimit + 1, kProfileValueLimit},
      {30000, kProfileValueLimit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.storedBytes);
    const std::string value = "|" + std::string(c.storedBytes - 2, 'x') + "|";
    ASSERT_TRUE(writeProfileString(file, "Quenzil", "list", value));
    EXPECT_EQ(readProfileString(file, "Quenzil", "list"), value.substr(0, c.readBytes));
  }
  EXPECT_EQ(kProfileValueLimit, 10239u);
}

// Each case starts from `before`, writes one key and expects `after` byte for byte.
TEST(WriteProfileString, ReplacesOnlyItsOwnLine) {
  struct Case {
    std::string name, before, section, key, value, after;
  };
  const std::vector<Case> cases = {
      {"a new file gets the section", "", "Quenzil", "k", "v", "[Quenzil]\r\nk=v\r\n"},
      {"the key line is replaced, all else kept",
       "; head comment\r\n\r\n[Quenzil]\r\nA=1\r\n  k = old\r\nB=2\r\n\r\n[Other]\r\nk=x\r\n",
       "Quenzil", "k", "new",
       "; head comment\r\n\r\n[Quenzil]\r\nA=1\r\nk=new\r\nB=2\r\n\r\n[Other]\r\nk=x\r\n"},
      {"the key is found without regard to case", "[quenzil]\r\nKEY=old\r\n", "Quenzil", "key",
       "new", "[quenzil]\r\nkey=new\r\n"},
      {"a missing key goes after the section's last line, before blank lines",
       "[Quenzil]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n", "Quenzil", "k", "v",
       "[Quenzil]\r\nA=1\r\nk=v\r\n\r\n[Other]\r\nB=2\r\n"},
      {"a missing section is added at the end", "[Other]\r\nB=2\r\n", "Quenzil", "k", "v",
       "[Other]\r\nB=2\r\n[Quenzil]\r\nk=v\r\n"},
      {"a last line without a line end gets one only when a line follows it",
       "[Other]\r\nB=2", "Quenzil", "k", "v", "[Other]\r\nB=2\r\n[Quenzil]\r\nk=v\r\n"},
      {"a last line of another section keeps its bytes",
       "[Quenzil]\r\nA=1\r\n[Other]\r\nB=2", "Quenzil", "k", "v",
       "[Quenzil]\r\nA=1\r\nk=v\r\n[Other]\r\nB=2"},
      {"the file's own line ends are used", "[Quenzil]\nA=1\n", "Quenzil", "k", "v",
       "[Quenzil]\nA=1\nk=v\n"},
      {"mixed line ends stay as they are", "[Quenzil]\nA=1\r\nk=old\n# x\r\n", "Quenzil", "k",
       "v", "[Quenzil]\nA=1\r\nk=v\n# x\r\n"},
      {"a key of the same name elsewhere is untouched", "[Other]\r\nk=x\r\n[Quenzil]\r\n",
       "Quenzil", "k", "v", "[Other]\r\nk=x\r\n[Quenzil]\r\nk=v\r\n"},
      {"a line break in the value cannot start a new line", "", "Quenzil", "k",
       "a\r\n[Evil]\nb", "[Quenzil]\r\nk=a  [Evil] b\r\n"},
      {"non-ASCII keys and values", "[Quenzil]\r\n", "Quenzil", "用户设置的存放目录",
       "/home/ana/下载", "[Quenzil]\r\n用户设置的存放目录=/home/ana/下载\r\n"},
      {"an empty value", "[Quenzil]\r\nk=v\r\n", "Quenzil", "k", "", "[Quenzil]\r\nk=\r\n"},
  };
  const std::string folder = test::makeScratchFolder("profile-write");
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = folder + "case-" + std::to_string(++round) + ".ini";
    if (!c.before.empty()) {
      ASSERT_TRUE(writeFileAtomically(file, c.before));
    }
    ASSERT_TRUE(writeProfileString(file, c.section, c.key, c.value));
    EXPECT_EQ(readWholeFile(file), c.after);
  }
  EXPECT_EQ(entriesOf(folder).size(), cases.size());  // no temporary file stays behind
}

TEST(WriteProfileString, ReadsBackWhatItWrote) {
  const std::string file = test::makeScratchFolder("profile-roundtrip") + "settings.ini";
  ASSERT_TRUE(writeProfileString(file, "Quenzil", "a", "1"));
  ASSERT_TRUE(writeProfileString(file, "Quenzil", "b", "2"));
  ASSERT_TRUE(writeProfileString(file, "Quenzil", "A", "3"));
  EXPECT_EQ(readProfileString(file, "Quenzil", "a"), "3");
  EXPECT_EQ(readProfileString(file, "Quenzil", "b"), "2");
  EXPECT_EQ(readWholeFile(file), "[Quenzil]\r\nA=3\r\nb=2\r\n");
}

TEST(WriteProfileString, AFailedWriteLeavesNothingBehind) {
  const std::string folder = test::makeScratchFolder("profile-fail");
  fs::create_directory(folder + "a-directory");
  EXPECT_FALSE(writeProfileString(folder + "a-directory", "Quenzil", "k", "v"));
  EXPECT_FALSE(writeProfileString(folder + "missing/settings.ini", "Quenzil", "k", "v"));
  EXPECT_EQ(entriesOf(folder), std::vector<std::string>{"a-directory"});
  EXPECT_TRUE(entriesOf(folder + "a-directory").empty());
}

// Permission checks: root passes them all, so these rows only run for an ordinary user.
TEST(WriteProfileString, KeepsTheOldFileWhenItCannotBeReplacedOrRead) {
  if (::geteuid() == 0) GTEST_SKIP() << "root passes every permission check";
  const std::string old = "[Quenzil]\r\nkeep=me\r\n[Other]\r\nx=1\r\n";

  const std::string lockedFolder = test::makeScratchFolder("profile-locked");
  ASSERT_TRUE(writeFileAtomically(lockedFolder + "settings.ini", old));
  ::chmod(lockedFolder.c_str(), 0555);
  EXPECT_FALSE(writeProfileString(lockedFolder + "settings.ini", "Quenzil", "k", "v"));
  ::chmod(lockedFolder.c_str(), 0755);
  EXPECT_EQ(readWholeFile(lockedFolder + "settings.ini"), old);
  EXPECT_EQ(entriesOf(lockedFolder), std::vector<std::string>{"settings.ini"});

  // Writing an unreadable file from nothing would drop every other key in it.
  const std::string file = test::makeScratchFolder("profile-unreadable") + "settings.ini";
  ASSERT_TRUE(writeFileAtomically(file, old));
  ::chmod(file.c_str(), 0200);
  EXPECT_FALSE(writeProfileString(file, "Quenzil", "k", "v"));
  ::chmod(file.c_str(), 0644);
  EXPECT_EQ(readWholeFile(file), old);
}

}  // namespace
}  // namespace qz
