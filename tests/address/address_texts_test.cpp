// Normalising an entered address and naming its site.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "address/address_tools.h"

namespace qz {
namespace {

TEST(EnsureScheme, AddsHttpOnlyWhenNoSchemeTextOccursAndUpdatesItsArgument) {
  struct Case {
    std::string address, expected;
  };
  const std::vector<Case> cases = {
      {"site.example/x", "http://site.example/x"},
      {"HTTPS://site.example", "HTTPS://site.example"},
      {"site.example/go?u=http://other.example", "site.example/go?u=http://other.example"},
      {"ftp://site.example/f.zip", "http://ftp://site.example/f.zip"},
      {"hTTp://site.example", "hTTp://site.example"},
      {"https://site.example/", "https://site.example/"},
      {"", "http://"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    std::string address = c.address;
    EXPECT_EQ(ensureScheme(address), c.expected);
    EXPECT_EQ(address, c.expected);
  }
}

TEST(SiteRoot, IsSchemeAndHost) {
  struct Case {
    std::string address;
    bool withSlash;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"http://site.example/x/y.html", true, "http://site.example/"},
      {"http://site.example/x/y.html", false, "http://site.example"},
      {"site.example/x", true, "site.example/"},
      {"https://site.example", false, "https://site.example"},
      {"http://site.example:8080/a", true, "http://site.example:8080/"},
      {"http://", true, "http://"},  // no piece after the scheme: returned unchanged
      {"", true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address + (c.withSlash ? " with slash" : " without slash"));
    EXPECT_EQ(siteRoot(c.address, c.withSlash), c.expected);
  }
}

TEST(TextBeforeAndAfter, SplitAtTheFirstSeparatorIgnoringCase) {
  struct Case {
    std::string text, separator, before, after;
  };
  const std::vector<Case> cases = {
      {"http://a/b://c", "://", "http", "a/b://c"},
      {"a.gif?x=1", "?", "a.gif", "x=1"},
      {"xAbyaBz", "ab", "x", "yaBz"},
      {"no separator", "#", "no separator", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " at " + c.separator);
    EXPECT_EQ(textBefore(c.text, c.separator), c.before);
    EXPECT_EQ(textAfter(c.text, c.separator), c.after);
  }
}

TEST(StripQuotes, RemovesEverySingleAndDoubleQuote) {
  EXPECT_EQ(stripQuotes("'img/a.gif'"), "img/a.gif");
  EXPECT_EQ(stripQuotes("\"a\"b'c'\""), "abc");
  EXPECT_EQ(stripQuotes("plain"), "plain");
}

TEST(CountOccurrences, CountsNonOverlappingOccurrencesIncludingOneAtTheEnd) {
  struct Case {
    std::string text, pattern;
    int expected;
  };
  const std::vector<Case> cases = {
      {"../../a.gif", "../", 2},
      {"a/b/", "/", 2},
      {"", "/", 0},
      {"/", "/", 1},
      {"aaaa", "aa", 2},
      {"aaa", "aa", 1},
      {"}}", "}", 2},  // the sentinel changes when the pattern is the sentinel
      {"a}", "}", 1},
      {"x../y/../", "../", 2},
      {"abc", "", 0},
      {"文文", "\x96\x87", 0},  // the tail of a character is no occurrence
      {"文/文/", "/", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.pattern + "\" in \"" + c.text + "\"");
    EXPECT_EQ(countOccurrences(c.text, c.pattern), c.expected);
  }
}

TEST(SiteName, TakesTheDistinctiveLabelOfTheHost) {
  struct Case {
    std::string address, expected;
  };
  const std::vector<Case> cases = {
      {"http://news.example.com.cn/x", "example"},
      {"http://example.net.cn", "example"},
      {"http://example.com.net", "example"},
      {"http://example.net.com", "net"},  // each ending is tested once, in order
      {"http://news.example.edu.cn", "edu"},
      {"http://NEWS.EXAMPLE.COM", "COM"},  // the endings are compared with case
      {"http://news.example.com:8080/", "com:8080"},
      {"http://192.0.2.10/", "10"},
      {"localhost", "localhost"},
      {"https://www.example.org/a/b.html", "example"},
      {"site.example.com/x", "example"},
      {"http://example.org.net.cn", "example"},
      {"http://example.cn.com", "cn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(siteName(c.address), c.expected);
  }
}

// The folder stem names the capture folder, so it must never be empty and never hold a
// separator. The ":" of a port is left for the capture job to replace.
TEST(SiteFolderStem, IsANonEmptyFolderNamePiece) {
  struct Case {
    std::string address, expected;
  };
  const std::vector<Case> cases = {
      {"http://news.example.com.cn/x", "example"},
      {"http://news.example.com:8080/", "com:8080"},
      {"http://192.0.2.10/", "10"},
      {"localhost", "localhost"},
      // Hosts made only of dropped endings keep their whole text, dots made "_".
      {"com", "com"},
      {"com.cn", "com_cn"},
      {"http://com.cn/x", "com_cn"},
      {"http://com.net.cn/", "com_net_cn"},
      {"HTTP://Site/x.gif", "Site"},
      // No host at all.
      {"http:///", "site"},
      {"http://", "site"},
      {"", "site"},
      // A backslash in the host never reaches the folder name.
      {"http://ex\\ample.com/", "ex_ample"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    const std::string stem = siteFolderStem(c.address);
    EXPECT_EQ(stem, c.expected);
    EXPECT_FALSE(stem.empty());
    EXPECT_EQ(stem.find('/'), std::string::npos);
  }
}

TEST(WithTrailingSeparator, AppendsOneOnlyWhenMissing) {
  EXPECT_EQ(withTrailingSeparator(""), "/");
  EXPECT_EQ(withTrailingSeparator("/home/ana"), "/home/ana/");
  EXPECT_EQ(withTrailingSeparator("/home/ana/"), "/home/ana/");
}

}  // namespace
}  // namespace qz
