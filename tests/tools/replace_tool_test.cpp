// The replace tool: what a pattern and a format string make of a text, and what a run does to
// the file on disk (backup, refusals, permissions, links) when something is not right.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "platform/files.h"
#include "support/test_environment.h"
#include "tools/replace_tool.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

struct TextCase {
  const char* name;
  std::string text;
  std::string pattern;
  std::string replacement;
  bool matchCase;
  std::string expected;
};

TEST(ReplaceInText, ReplacesEveryMatchWithTheFormatString) {
  const std::vector<TextCase> cases = {
      {"letters ignore case by default", "abc ABC", "ABC", "x", false, "x x"},
      {"letters keep case when asked", "abc ABC", "ABC", "x", true, "abc x"},
      {"a group is kept with $1", "a{margin:12px;top:3px;left:4em}", "(\\d+)px", "$1em", false,
       "a{margin:12em;top:3em;left:4em}"},
      {"no match leaves the text as it was", "body{}", "zzz", "y", false, "body{}"},
      {"conditional format (every format feature on)", "ab", "(a)|(b)", "(?1A:B)", false, "AB"},
      {"^ matches after each line break (the engine's default)", "x\nx\r\nx", "^x", "y", false,
       "y\ny\r\ny"},
      {"multi-byte text around a match is kept", "标题 abc 页脚", "abc", "新", false,
       "标题 新 页脚"},
      {"a match of nothing between every character", "ab", "", "-", false, "-a-b-"},
      {"$& repeats the whole match", "img", "i.g", "[$&]", false, "[img]"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string result;
    const ReplaceOutcome outcome = replaceInText(c.text, c.pattern, c.replacement, c.matchCase, result);
    EXPECT_EQ(outcome.status, ReplaceStatus::Replaced);
    EXPECT_EQ(result, c.expected);
  }
}

TEST(ReplaceInText, ReportsAPatternThatDoesNotCompile) {
  for (const char* pattern : {"(", "[a-", "a{2,1}", "*x", "(?<name"}) {
    SCOPED_TRACE(pattern);
    std::string result = "untouched";
    const ReplaceOutcome outcome = replaceInText("text", pattern, "y", false, result);
    EXPECT_EQ(outcome.status, ReplaceStatus::BadPattern);
    EXPECT_FALSE(outcome.detail.empty());
    EXPECT_EQ(result, "untouched");
  }
}

TEST(ReplaceInText, ReportsAnEngineThatGivesUpInsteadOfHanging) {
  std::string result;
  const ReplaceOutcome outcome =
      replaceInText(std::string(40, 'x'), "(x+x+)+y", "z", false, result);
  EXPECT_EQ(outcome.status, ReplaceStatus::MatchFailed);
}

class ReplaceFile : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = test::makeScratchFolder("replace"); }

  std::string file(const std::string& name, const std::string& content) {
    const std::string path = folder_ + name;
    EXPECT_TRUE(writeFileAtomically(path, content));
    return path;
  }

  static ReplaceRequest request(const std::string& path, bool keepBackup = false) {
    return {path, "ABC", "x", false, keepBackup};
  }

  static unsigned modeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
  }

  std::string folder_;
};

TEST_F(ReplaceFile, WritesTheResultBackAndKeepsNoCopyUnlessAsked) {
  const std::string path = file("page.css", "abc ABC");
  EXPECT_EQ(runReplace(request(path)).status, ReplaceStatus::Replaced);
  EXPECT_EQ(readWholeFile(path), "x x");
  EXPECT_FALSE(pathExists(path + ".bak"));
  // Nothing but the file and no leftover temporary file in its folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator{}), 1);
}

TEST_F(ReplaceFile, BackupIsTheWholeNamePlusBakAndHoldsTheStateBeforeEachRun) {
  const std::string path = file("style.css", "abc ABC");
  ASSERT_EQ(runReplace(request(path, true)).status, ReplaceStatus::Replaced);
  EXPECT_EQ(readWholeFile(folder_ + "style.css.bak"), "abc ABC");

  ReplaceRequest second{path, "x", "yy", false, true};
  ASSERT_EQ(runReplace(second).status, ReplaceStatus::Replaced);
  EXPECT_EQ(readWholeFile(path), "yy yy");
  EXPECT_EQ(readWholeFile(folder_ + "style.css.bak"), "x x");
}

TEST_F(ReplaceFile, NoMatchStillRewritesTheSameContentAndMakesTheBackup) {
  const std::string path = file("a.js", "var a = 1;\r\n");
  EXPECT_EQ(runReplace(request(path, true)).status, ReplaceStatus::Replaced);
  EXPECT_EQ(readWholeFile(path), "var a = 1;\r\n");
  EXPECT_EQ(readWholeFile(path + ".bak"), "var a = 1;\r\n");
}

TEST_F(ReplaceFile, RefusalsLeaveTheFileAndTheBackupUntouched) {
  struct Case {
    const char* name;
    std::string content;
    std::string pattern;
    ReplaceStatus expected;
  };
  const std::vector<Case> cases = {
      {"empty pattern", "abc", "", ReplaceStatus::NothingToDo},
      {"empty file", "", "abc", ReplaceStatus::NothingToDo},
      {"pattern that does not compile", "abc", "(abc", ReplaceStatus::BadPattern},
      {"zero byte in the middle", std::string("abc\0ABC tail", 12), "abc", ReplaceStatus::NotText},
      {"zero byte first (UTF-16 text)", std::string("\0a\0b", 4), "a", ReplaceStatus::NotText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = file("target.html", c.content);
    const ReplaceOutcome outcome = runReplace({path, c.pattern, "x", false, true});
    EXPECT_EQ(outcome.status, c.expected);
    EXPECT_EQ(readWholeFile(path), c.content);
    EXPECT_FALSE(pathExists(path + ".bak"));
  }
}

TEST_F(ReplaceFile, MissingFileIsNotCreated) {
  const std::string path = folder_ + "absent.html";
  EXPECT_EQ(runReplace(request(path, true)).status, ReplaceStatus::NothingToDo);
  EXPECT_FALSE(pathExists(path));
  EXPECT_FALSE(pathExists(path + ".bak"));
}

TEST_F(ReplaceFile, ReadOnlyFileStaysReadOnlyAndUnchanged) {
  const std::string path = file("locked.html", "ABC");
  ::chmod(path.c_str(), 0444);
  EXPECT_EQ(runReplace(request(path, true)).status, ReplaceStatus::ReadOnly);
  EXPECT_EQ(readWholeFile(path), "ABC");
  EXPECT_EQ(modeOf(path), 0444u);
  EXPECT_FALSE(pathExists(path + ".bak"));
}

TEST_F(ReplaceFile, PermissionsOfTheFileSurviveTheRewrite) {
  const std::string path = file("private.html", "ABC");
  ::chmod(path.c_str(), 0600);
  ASSERT_EQ(runReplace(request(path)).status, ReplaceStatus::Replaced);
  EXPECT_EQ(modeOf(path), 0600u);
}

TEST_F(ReplaceFile, ASymbolicLinkStaysALinkAndItsTargetChanges) {
  const std::string target = file("real.html", "ABC");
  const std::string link = folder_ + "link.html";
  fs::create_symlink(target, link);
  ASSERT_EQ(runReplace(request(link)).status, ReplaceStatus::Replaced);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readWholeFile(target), "x");
}

TEST_F(ReplaceFile, BackupThatCannotBeWrittenStopsTheRewrite) {
  const std::string path = file("page.html", "ABC");
  fs::create_directory(path + ".bak");  // the copy's name is taken by a folder
  EXPECT_EQ(runReplace(request(path, true)).status, ReplaceStatus::BackupFailed);
  EXPECT_EQ(readWholeFile(path), "ABC");
}

}  // namespace
}  // namespace qz
