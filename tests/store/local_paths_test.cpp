#include "store/local_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qz {
namespace {

struct TextCase {
  std::string input;
  std::string expected;
};

TEST(CollapseSeparators, RunsOfSlashesBecomeOne) {
  const std::vector<TextCase> cases = {
      {"/t/cap/h/a.gif", "/t/cap/h/a.gif"},
      {"/t/cap//h///a.gif", "/t/cap/h/a.gif"},
      {"//server/share//x/", "/server/share/x/"},  // a leading pair is shortened too
      {"/t/cap/", "/t/cap/"},
      {"", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(collapseSeparators(c.input), c.expected);
  }
}

TEST(NormaliseLineBreaks, EveryBreakBecomesCrLf) {
  const std::vector<TextCase> cases = {
      {"a\r\nb", "a\r\nb"},
      {"a\nb", "a\r\nb"},
      {"a\rb", "a\r\nb"},
      {"a\n\rb", "a\r\n\r\nb"},  // LF then CR are two lone breaks
      {"a\r\r\nb", "a\r\n\r\nb"},
      {"a\r\n\nb", "a\r\n\r\nb"},
      {"<pre>\n1\n2\n</pre>", "<pre>\r\n1\r\n2\r\n</pre>"},
      // An inline script with Unix line ends keeps working after its first comment.
      {"<script>// note\nrun();</script>", "<script>// note\r\nrun();</script>"},
      {"x<hhf>y", "x\r\ny"},
      {"x<HHF>y", "x<HHF>y"},  // the placeholder is matched exactly
      {"中\n文", "中\r\n文"},
      {"", ""},
      {"no breaks", "no breaks"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(normaliseLineBreaks(c.input), c.expected);
  }
}

TEST(LocalDirectoryOf, MirrorsHostAndPathBelowTheFolder) {
  const std::string folder = "/t/cap/";
  const std::vector<TextCase> cases = {
      {"http://news.example.com/img/logo.gif", "/t/cap/news.example.com/img/"},
      {"http://news.example.com:8080/a/", "/t/cap/news.example.com_8080/a/"},
      {"HTTPS://Site.example/A/b.css", "/t/cap/Site.example/A/"},
      {"news.example.com/x.gif", "/t/cap/news.example.com/"},
      {"http://news.example.com//a//b.gif", "/t/cap/news.example.com/a/"},
      {"http://news.example.com/list?page=2", "/t/cap/news.example.com/list_page=2/"},
      // Pieces that would step in place or up become ordinary names.
      {"http://h/../../x/a.gif", "/t/cap/h/__/__/x/"},
      {"http://h/./a.gif", "/t/cap/h/_/"},
      {"http://../x/a.gif", "/t/cap/__/x/"},
      {"http:///../a.gif", "/t/cap/__/"},
      // Only "." and ".." themselves are steps: other dotted or encoded names are literal.
      {"http://h/.../a.gif", "/t/cap/h/.../"},
      {"http://h/%2e%2e/a.gif", "/t/cap/h/%2e%2e/"},
      {"http://h/..a/a.gif", "/t/cap/h/..a/"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(localDirectoryOf(c.input, folder), c.expected);
  }
}

TEST(LocalDirectoryOf, DoubledSeparatorsOfTheFolderCollapse) {
  EXPECT_EQ(localDirectoryOf("http://h/a.gif", "/t//cap//"), "/t/cap/h/");
  EXPECT_EQ(localDirectoryOf("http://h/a.gif", "//share/cap/"), "/share/cap/h/");
}

TEST(PageFileName, NamesThePageFile) {
  const std::vector<TextCase> cases = {
      {"http://news.example.com", "index.htm"},
      {"http://news.example.com/a/", "index.htm"},
      {"http://news.example.com/a/b/page.html", "page.html"},
      {"http://news.example.com/show.php?id=5", "show.php_id=5.htm"},
      {"http://news.example.com/list?page=2", "index.htm"},
      {"http://news.example.com/2.0/page", "page"},
      {"http://news.example.com/a/b.c//", ""},
      {"http://h/a/..", "__"},
      {"http://h/a/.", "_"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    std::string address = c.input;
    EXPECT_EQ(pageFileName(address), c.expected);
  }
}

TEST(PageFileName, GivesTheCallerTheSchemeItAdded) {
  std::string address = "news.example.com/a.html";
  pageFileName(address);
  EXPECT_EQ(address, "http://news.example.com/a.html");
}

TEST(LiesInsideFolder, OnlyPathsStrictlyBelowTheFolder) {
  struct Case {
    std::string path;
    bool inside;
  };
  const std::vector<Case> cases = {
      {"/t/cap/h/a.gif", true},
      {"/t/cap//h/a.gif", true},
      {"/t/cap/h/.../a.gif", true},
      {"/t/cap/h/../a.gif", false},
      {"/t/cap/../x/a.gif", false},
      {"/t/cap/h/./a.gif", false},
      {"/t/cap/h/..", false},
      {"/t/cap/", false},
      {"/t/capture/a.gif", false},
      {"/elsewhere/a.gif", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(liesInsideFolder(c.path, "/t/cap/"), c.inside);
  }
}

TEST(LocalFilePath, FileNamesThatStepAreMadeSafe) {
  EXPECT_EQ(localFilePath("/t/cap/h/", ".."), "/t/cap/h/__");
  EXPECT_EQ(localFilePath("/t/cap/h/", "."), "/t/cap/h/_");
  EXPECT_EQ(localFilePath("/t/cap//h/", "a.gif"), "/t/cap/h/a.gif");
}

}  // namespace
}  // namespace qz
