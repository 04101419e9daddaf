#include "store/page_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "store/stored_file.h"
#include "store_test_kit.h"

namespace qz {
namespace {

using test::CaptureBench;
using test::fileText;
using test::LoggedLine;

const FetchResult kSmallPage{true, "<html></html>"};

TEST(SavePage, StoresThePageUnderItsMirroredPath) {
  struct Case {
    std::string address;
    std::string stored;  // relative to the capture folder
  };
  const std::vector<Case> cases = {
      {"http://news.example.com", "news.example.com/index.htm"},
      {"http://news.example.com/", "news.example.com/index.htm"},
      {"http://news.example.com/a/b/page.html", "news.example.com/a/b/page.html"},
      {"http://news.example.com/index.php", "news.example.com/index.php"},
      {"http://news.example.com/show.php?id=5", "news.example.com/show.php_id=5.htm"},
      {"http://news.example.com/list?page=2", "news.example.com/list_page=2/index.htm"},
      {"http://news.example.com:8080/a/", "news.example.com_8080/a/index.htm"},
      {"http://news.example.com/2.0/page", "news.example.com/2.0/page/page"},
      {"http://news.example.com//a//b.html", "news.example.com/a/b.html"},
      {"http://news.example.com/a/b.c//", "news.example.com/a/b.c/index.htm"},
      // Never outside the capture folder, and never a directory in place of the page.
      {"http://news.example.com/../../up.html", "news.example.com/__/__/up.html"},
      {"http://news.example.com/a/..", "news.example.com/a/__"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    CaptureBench bench;
    savePage(bench.context, c.address, kSmallPage);
    EXPECT_EQ(bench.tally.savedPagePath, bench.folder + c.stored);
    EXPECT_EQ(fileText(bench.folder + c.stored), kSmallPage.body);
    EXPECT_EQ(bench.tally.errorCount, 0);
  }
}

TEST(SavePage, ReportsCountsAndListsAStoredPage) {
  CaptureBench bench;
  const std::string address = "http://news.example.com/a/page.html";
  const std::string directory = bench.folder + "news.example.com/a/";
  savePage(bench.context, address, {true, "line one\nline two"});

  const std::vector<LoggedLine> expected = {
      {"正在下载 " + address, LogColour::Red},
      {"保存文件名 page.html", LogColour::Black},
      {"创建目录成功 " + directory, LogColour::Black},
      {"下载 " + address + " 成功", LogColour::Black},
      {"保存为 " + directory + "page.html", LogColour::Black},
  };
  EXPECT_EQ(bench.log.lines, expected);
  EXPECT_EQ(fileText(directory + "page.html"), "line one\r\nline two");
  EXPECT_EQ(bench.tally.downloadCount, 1);
  EXPECT_EQ(bench.tally.totalBytes, 18);  // the stored bytes, after normalisation
  EXPECT_EQ(bench.fileList(), address + "\r\n");
}

TEST(SavePage, AddsTheSchemeBeforeNamingThePage) {
  CaptureBench bench;
  savePage(bench.context, "news.example.com/p.html", kSmallPage);
  EXPECT_EQ(bench.log.lines.front().message, "正在下载 news.example.com/p.html");
  EXPECT_EQ(bench.fileList(), "http://news.example.com/p.html\r\n");
}

TEST(SavePage, LocalViewDropsTheSlashAfterEveryDoubleQuote) {
  const std::string page =
      "<img src=\"/img/a.gif\"><a href=\"/\">home</a>"
      "<script src=\"//cdn.example/x.js\"></script>"
      "<script>var api = \"/api\";</script>"
      "<img src='/b.gif'><img src=/c.gif>";
  struct Case {
    bool localView;
    std::string stored;
  };
  const std::vector<Case> cases = {
      {true,
       "<img src=\"img/a.gif\"><a href=\"\">home</a>"
       "<script src=\"/cdn.example/x.js\"></script>"
       "<script>var api = \"api\";</script>"
       "<img src='/b.gif'><img src=/c.gif>"},
      {false, page},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.localView);
    CaptureBench bench;
    bench.setOption(keys::kLocalView, c.localView);
    savePage(bench.context, "http://h.example/p.html", {true, page});
    EXPECT_EQ(fileText(bench.tally.savedPagePath), c.stored);
  }
}

TEST(SavePage, StoresTheTextUpToItsFirstZeroByte) {
  CaptureBench bench;
  savePage(bench.context, "http://h.example/p.html", {true, std::string("abc\0def", 7)});
  EXPECT_EQ(fileText(bench.tally.savedPagePath), "abc");
  EXPECT_EQ(bench.tally.totalBytes, 3);
}

TEST(SavePage, AResponseCountsEvenWhenEmptyAFailedFetchNever) {
  struct Case {
    std::string label;
    FetchResult page;
    bool stored;
  };
  const std::vector<Case> cases = {
      {"empty response", {true, ""}, true},
      {"no response", {false, ""}, false},
  };
  const std::string address = "http://h.example/p.html";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CaptureBench bench;
    savePage(bench.context, address, c.page);
    const std::string path = bench.folder + "h.example/p.html";
    EXPECT_EQ(pathExists(path), c.stored);
    EXPECT_EQ(bench.tally.downloadCount, c.stored ? 1 : 0);
    EXPECT_EQ(bench.tally.errorCount, c.stored ? 0 : 1);
    EXPECT_EQ(bench.tally.savedPagePath, c.stored ? path : "");
    EXPECT_EQ(bench.fileList(), c.stored ? address + "\r\n" : "");
    if (!c.stored) {
      EXPECT_EQ(bench.log.lines.back(), (LoggedLine{"下载 " + address + " 失败", LogColour::Red}));
    }
  }
}

TEST(SavePage, NeverOverwritesAnExistingFile) {
  CaptureBench bench;
  const std::string path = bench.folder + "h.example/p.html";
  std::filesystem::create_directories(bench.folder + "h.example");
  ASSERT_TRUE(appendToFile(path, "earlier"));

  savePage(bench.context, "http://h.example/p.html", kSmallPage);
  EXPECT_EQ(fileText(path), "earlier");
  EXPECT_EQ(bench.log.lines.back(), (LoggedLine{path + " 已存在", LogColour::Black}));
  EXPECT_EQ(bench.tally.downloadCount + bench.tally.errorCount, 0);
  EXPECT_EQ(bench.tally.savedPagePath, "");
  EXPECT_EQ(bench.fileList(), "");
}

TEST(SavePage, AnUncreatableDirectoryMakesTheWriteFail) {
  CaptureBench bench;
  ASSERT_TRUE(appendToFile(bench.folder + "h.example", "a file where the directory goes"));
  savePage(bench.context, "http://h.example/p.html", kSmallPage);
  EXPECT_EQ(bench.log.lines.back(),
            (LoggedLine{"下载 http://h.example/p.html 失败", LogColour::Red}));
  EXPECT_EQ(bench.tally.errorCount, 1);
  EXPECT_EQ(bench.tally.downloadCount, 0);
}

// The last step of every store refuses a name that appeared after the existence check, so a
// racing writer's file is kept, and no temporary file is left beside it.
TEST(StoredFile, APublishedNameIsNeverReplaced) {
  const std::string folder = test::makeScratchFolder("race");
  ASSERT_TRUE(appendToFile(folder + "a.gif", "first"));
  const StoredFile second = storeBytes(folder + "a.gif", "second");
  EXPECT_EQ(second.outcome, StoreOutcome::NameTaken);
  EXPECT_EQ(fileText(folder + "a.gif"), "first");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator{}), 1);
}

}  // namespace
}  // namespace qz
