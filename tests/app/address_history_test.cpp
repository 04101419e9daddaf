// The address history file: what is listed, what an add writes, and the site root a stored
// plain address is reduced to at start-up.
#include <gtest/gtest.h>

#include "app/address_history.h"
#include "platform/files.h"
#include "support/test_environment.h"

namespace qz {
namespace {

TEST(ReduceToSiteRoot, KeepsSchemeAndHostOnly) {
  struct Case {
    std::string typed;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"http://www.example.com/a/b.html", "http://www.example.com"},
      {"HTTPS://Shop.Example.com/cart?x=1", "https://Shop.Example.com"},
      {"example.com/page.html", "http://example.com"},
      {"Http://example.com/", "http://example.com"},
      {"example.com", "http://example.com"},
      {"127.0.0.1:8080/x", "http://127.0.0.1:8080"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(reduceToSiteRoot(c.typed), c.expected);
  }
}

TEST(HistoryEntries, ListsNonEmptyLinesWithTheirSchemeAndKeepsDuplicates) {
  const std::string text =
      "http://a.com/x\r\n\r\nb.org\r\nhttps://c.net/\r\nhttp://a.com/x\r\n\r\n";
  const std::vector<std::string> expected = {"http://a.com/x", "http://b.org", "https://c.net/",
                                             "http://a.com/x"};
  EXPECT_EQ(historyEntries(text), expected);
  EXPECT_TRUE(historyEntries("").empty());
}

class HistoryFile : public ::testing::Test {
 protected:
  void SetUp() override { path_ = test::makeScratchFolder("history") + "网址保存文件.txt"; }
  std::string path_;
};

TEST_F(HistoryFile, AddStoresEachAddressOnceWhateverItsCase) {
  struct Step {
    std::string address;
    bool added;
    std::string fileAfter;
  };
  const std::vector<Step> steps = {
      {"example.com/page.html", true, "http://example.com/page.html\r\n"},
      {"http://example.com/page.html", false, "http://example.com/page.html\r\n"},
      // The site root occurs inside the stored page address: treated as stored.
      {"HTTP://EXAMPLE.COM", false, "http://example.com/page.html\r\n"},
      {"https://other.org/", true, "http://example.com/page.html\r\nhttps://other.org/\r\n"},
      // A page below a stored root is new.
      {"https://other.org/deep/page",
       true,
       "http://example.com/page.html\r\nhttps://other.org/\r\nhttps://other.org/deep/page\r\n"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.address);
    const HistoryAddition addition = addToHistory(path_, step.address);
    EXPECT_EQ(addition.added, step.added);
    EXPECT_EQ(addition.written, step.added);
    EXPECT_EQ(readWholeFile(path_), step.fileAfter);
  }
}

TEST_F(HistoryFile, AddKeepsAHandEditedFileAsItIs) {
  writeFileAtomically(path_, "\r\nb.org\r\n\r\n");
  ASSERT_TRUE(addToHistory(path_, "c.org").added);
  EXPECT_EQ(readWholeFile(path_), "\r\nb.org\r\n\r\nhttp://c.org\r\n");
}

TEST_F(HistoryFile, ADamagedFileIsSeenUpToItsZeroByte) {
  writeFileAtomically(path_, std::string("http://a.com\r\n\0http://hidden.com\r\n", 34));
  EXPECT_TRUE(addToHistory(path_, "hidden.com").added);
  EXPECT_EQ(readWholeFile(path_), "http://a.com\r\nhttp://hidden.com\r\n");
}

TEST_F(HistoryFile, UnwritableFileStillGivesTheEntry) {
  const std::string unwritable = test::makeScratchFolder("history") + "missing/网址保存文件.txt";
  const HistoryAddition addition = addToHistory(unwritable, "a.com");
  EXPECT_TRUE(addition.added);
  EXPECT_FALSE(addition.written);
  EXPECT_EQ(addition.entry, "http://a.com");
}

TEST_F(HistoryFile, ClearLeavesZeroBytes) {
  writeFileAtomically(path_, "http://a.com\r\n");
  EXPECT_TRUE(clearHistoryFile(path_));
  EXPECT_TRUE(pathExists(path_));
  EXPECT_EQ(readWholeFile(path_), "");
}

}  // namespace
}  // namespace qz
