// Taking an address apart into directory and file name, and resolving references.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "address/address_tools.h"
#include "platform/text.h"

namespace qz {
namespace {

struct TextCase {
  std::string input, expected;
};

TEST(DirectoryOf, DropsOnlyALastPieceWithADot) {
  const std::vector<TextCase> cases = {
      {"http://site.example/news/list.html", "http://site.example/news/"},
      {"http://site.example/news", "http://site.example/news/"},
      {"http://site.example", "http://site.example/"},
      {"http://site.example/a//b/c.gif", "http://site.example/a/b/"},
      {"http://site.example/list?page=2", "http://site.example/list_page=2/"},
      {"http://site.example/show.php?id=2", "http://site.example/"},
      {"http://site.example/lib/2.0/", "http://site.example/lib/"},
      {"https://site.example/a/b/", "https://site.example/a/b/"},
      {"site.example/img/x.gif", "http://site.example/img/"},
      {"http://site.example/2.0/page", "http://site.example/2.0/page/"},
      // A "*" of the address's own is no scheme.
      {"http://site.example/a*b/c.gif", "http://site.example/a*b/"},
      {"http://site.example/*/", "http://site.example/*/"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    std::string address = c.input;
    EXPECT_EQ(directoryOf(address), c.expected);
  }
}

TEST(IsDirectoryAddress, IsFalseWhenAnyPieceAfterTheHostHasADot) {
  struct Case {
    std::string address;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"http://site.example", true},
      {"http://site.example/list?page=2", true},
      {"http://site.example/2.0/page", false},
      {"http://site.example/news/", true},
      {"http://site.example/img/logo.gif", false},
      {"site.example", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    std::string address = c.address;
    EXPECT_EQ(isDirectoryAddress(address), c.expected);
  }
}

TEST(FileNameOf, IsTheLastPieceWhenAnyPieceAfterTheHostHasADot) {
  const std::vector<TextCase> cases = {
      {"http://site.example/img/logo.gif", "logo.gif"},
      {"http://site.example/2.0/page", "page"},
      {"http://site.example/a.php?x=1", "a.php?x=1"},
      {"http://site.example/news/", ""},
      {"http://site.example", ""},
      {"site.example/a/b.css", "b.css"},
      {"http://site.example/img/x*2.gif", "x*2.gif"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    std::string address = c.input;
    EXPECT_EQ(fileNameOf(address), c.expected);
  }
}

// The batch download logs and fetches the address these operations leave in their argument.
TEST(AddressParts, ApplyEnsureSchemeToTheirArgument) {
  const std::string bare = "site.example/a/b.gif";
  const std::string withScheme = "http://site.example/a/b.gif";

  std::string forDirectory = bare;
  directoryOf(forDirectory);
  EXPECT_EQ(forDirectory, withScheme);

  std::string forTest = bare;
  isDirectoryAddress(forTest);
  EXPECT_EQ(forTest, withScheme);

  std::string forName = bare;
  fileNameOf(forName);
  EXPECT_EQ(forName, withScheme);

  std::string alreadyAbsolute = "HTTPS://site.example/a/";
  directoryOf(alreadyAbsolute);
  EXPECT_EQ(alreadyAbsolute, "HTTPS://site.example/a/");
}

// Scheme texts are matched without regard to case, both when marked and when restored.
TEST(AddressParts, RestoreASchemeWrittenInCapitals) {
  struct Case {
    std::string address, directoryAfterScheme, fileName;
    bool isDirectory;
  };
  const std::vector<Case> cases = {
      {"HTTP://Site/x.gif", "Site/", "x.gif", false},
      {"Https://Site/a/b.css", "Site/a/", "b.css", false},
      {"hTtP://Site/a/", "Site/a/", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    std::string address = c.address;
    const std::string directory = directoryOf(address);
    EXPECT_EQ(directory.find('*'), std::string::npos);
    const std::string scheme = startsWith(c.address, "https://", true) ? "https://" : "http://";
    EXPECT_TRUE(startsWith(directory, scheme, true)) << directory;
    EXPECT_EQ(directory.substr(scheme.size()), c.directoryAfterScheme);
    EXPECT_EQ(fileNameOf(address), c.fileName);
    EXPECT_EQ(isDirectoryAddress(address), c.isDirectory);
  }
}

TEST(SuffixOf, IsTheTextAfterTheLastDot) {
  const std::vector<TextCase> cases = {
      {"a.gif", "gif"}, {"a.tar.gz", "gz"}, {"noname", ""}, {"dot.", ""}, {".htaccess", "htaccess"},
      {"", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(suffixOf(c.input), c.expected);
  }
}

TEST(IsHostOnly, CountsTheNonEmptyPiecesAfterTheScheme) {
  struct Case {
    std::string directory;
    bool expected;
  };
  const std::vector<Case> cases = {
      {"http://site.example/", true},
      {"http://site.example", true},
      {"https://site.example//", true},
      {"HTTP://site.example/", true},
      {"http://site.example/a/", false},
      {"site.example/", false},  // no scheme text: nothing is marked, nothing counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    EXPECT_EQ(isHostOnly(c.directory), c.expected);
  }
}

TEST(UpLevels, ClimbsButNeverAboveTheSiteRoot) {
  struct Case {
    std::string directory;
    int levels;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"http://site.example/a/b/", 1, "http://site.example/a/"},
      {"http://site.example/a/b/", 2, "http://site.example/"},
      {"http://site.example/a/b/", 9, "http://site.example/"},
      {"http://site.example/a/b/", 0, "http://site.example/a/b/"},
      {"http://site.example/a/b/", -1, "http://site.example/a/b/"},
      {"http://site.example/", 3, "http://site.example/"},
      {"https://site.example/a//b/", 1, "https://site.example/a/"},
      {"http://site.example/a*b/c/", 1, "http://site.example/a*b/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory + " up " + std::to_string(c.levels));
    EXPECT_EQ(upLevels(c.directory, c.levels), c.expected);
  }
}

struct ResolveCase {
  std::string base, reference, expected;
};

void expectResolutions(const std::vector<ResolveCase>& cases) {
  for (const ResolveCase& c : cases) {
    SCOPED_TRACE("base " + c.base + ", reference " + c.reference);
    std::string base = c.base;
    std::string reference = c.reference;
    EXPECT_EQ(resolveAddress(base, reference), c.expected);
  }
}

TEST(ResolveAddress, ResolvesAgainstAPageAddress) {
  const std::string base = "http://site.example/x/y/p.html";
  expectResolutions({
      {base, "http://cdn.example.org/z.js", "http://cdn.example.org/z.js"},
      {base, "//cdn.example.org/z.js", "http://cdn.example.org/z.js"},
      {base, "/img/a.gif", "http://site.example/img/a.gif"},
      {base, "img/a.gif", "http://site.example/x/y/img/a.gif"},
      {base, "'img/a.gif'", "http://site.example/x/y/img/a.gif"},
      {base, "\"img/a.gif\"", "http://site.example/x/y/img/a.gif"},
      {base, "./img/a.gif", "http://site.example/x/y/./img/a.gif"},
      {base, "../img/a.gif", "http://site.example/x/img/a.gif"},
      {base, "../../img/a.gif", "http://site.example/img/a.gif"},
      {base, "../../../img/a.gif", "http://site.example/img/a.gif"},
      {base, "ftp://files.example/f.zip", "ftp://files.example/f.zip"},
      {base, "img\\a.gif", "http://site.example/x/y/img\\a.gif"},
      {"https://site.example/x/p.html", "//cdn.example.org/z.js", "https://cdn.example.org/z.js"},
      {"https://site.example/x/p.html", "/a.gif", "https://site.example/a.gif"},
  });
}

TEST(ResolveAddress, ResolvesAgainstADirectoryAddress) {
  expectResolutions({
      {"http://site.example/css/", "../images/bg.png", "http://site.example/images/bg.png"},
      {"http://site.example/css/", "bg.png", "http://site.example/css/bg.png"},
      {"http://site.example/lib/2.0/", "bg.png", "http://site.example/lib/bg.png"},
      {"http://site.example/a/b/c/", "../../x.png", "http://site.example/a/x.png"},
      {"http://site.example/a/b/c/", "../x/../y.png", "http://site.example/a/x/y.png"},
      {"http://site.example", "a.png", "http://site.example/a.png"},
      {"http://site.example", "../a.png", "http://site.example/a.png"},
  });
}

TEST(ResolveAddress, WritesTheQuoteFreeTextsBack) {
  std::string base = "'http://site.example/x/p.html'";
  std::string reference = "\"img/a.gif\"";
  EXPECT_EQ(resolveAddress(base, reference), "http://site.example/x/img/a.gif");
  EXPECT_EQ(base, "http://site.example/x/p.html");
  EXPECT_EQ(reference, "img/a.gif");
}

// A page address whose query carries a second address holds both scheme texts. The first
// one is the address's scheme; the other stays text of the path, and nothing is lost.
TEST(AddressWithBothSchemes, IsTakenApartByItsLeadingScheme) {
  struct Case {
    std::string address, directory, fileName;
  };
  const std::vector<Case> cases = {
      {"http://a.example/go?u=https://b.example/x.gif", "http://a.example/go_u=https:/b.example/",
       "x.gif"},
      {"https://a.example/r?u=http://b.example/", "https://a.example/r_u=http:/",
       "b.example"},
      {"https://a.example/p/r.php?u=http://b.example", "https://a.example/p/r.php_u=http:/",
       "b.example"},
      {"http://a.example/s.php?u=http://b.example", "http://a.example/", "s.php?u=*b.example"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    std::string address = c.address;
    const std::string directory = directoryOf(address);
    EXPECT_EQ(directory, c.directory);
    EXPECT_EQ(address, c.address);
    EXPECT_EQ(fileNameOf(address), c.fileName);
    EXPECT_EQ(fileNameOf(address).find('/'), std::string::npos);
    EXPECT_FALSE(siteFolderStem(address).empty());
  }
}

TEST(AddressWithBothSchemes, ResolvesAgainstTheLeadingSite) {
  expectResolutions({
      {"http://a.example/go?u=https://b.example/x.gif", "/i.gif", "http://a.example/i.gif"},
      {"http://a.example/go?u=https://b.example/x.gif", "//c.example/i.gif",
       "http://c.example/i.gif"},
      {"http://a.example/go?u=https://b.example/x.gif", "i.gif",
       "http://a.example/go_u=https:/b.example/i.gif"},
      {"http://a.example/go?u=https://b.example/x.gif", "../i.gif",
       "http://a.example/go_u=https:/i.gif"},
      {"https://a.example/r?u=http://b.example/", "/i.gif", "https://a.example/i.gif"},
      {"https://a.example/r?u=http://b.example/", "i.gif", "https://a.example/r_u=http:/i.gif"},
      {"https://a.example/r?u=http://b.example/", "../../i.gif", "https://a.example/i.gif"},
  });
}

TEST(AddressWithBothSchemes, NamesTheLeadingSite) {
  EXPECT_EQ(siteName("http://a.example/go?u=https://b.example/x.gif"), "example");
  EXPECT_EQ(siteFolderStem("https://www.a.com/r?u=http://b.example/"), "a");
}

}  // namespace
}  // namespace qz
