#include "store/batch_download.h"

#include <httplib.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "store/page_save.h"
#include "store_test_kit.h"
#include "support/fixture_server.h"

namespace qz {
namespace {

using test::CaptureBench;
using test::fileText;
using test::FixtureServer;
using test::LoggedLine;

class BatchDownload : public testing::Test {
 protected:
  BatchDownload() {
    server.serveText("/x/img/a.gif", "GIF-a", "image/gif");
    server.serveText("/css/main.CSS", "body{}", "text/css");
    server.serveText("/x/css/s.css", "p{}", "text/css");
    server.serveText("/x/js/app.js", "run();", "application/javascript");
    server.serveText("/x/a.tar.gz", "tgz", "application/gzip");
    server.serveText("/x/missing.gif", "not here", "text/html", 404);
  }

  std::string base() const { return server.baseUrl() + "/x/p.html"; }
  std::string hostFolderOf(const CaptureBench& bench) const {
    return bench.folder + "127.0.0.1_" + std::to_string(server.port()) + "/";
  }
  bool wasRequested(const std::string& path) const {
    for (const std::string& requested : server.requestedPaths())
      if (requested == path) return true;
    return false;
  }
  // Every regular file below `folder`, relative to it.
  static std::vector<std::string> filesBelow(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
      if (!entry.is_directory())
        files.push_back(std::filesystem::relative(entry.path(), folder).generic_string());
    return files;
  }

  FixtureServer server;
};

enum class Outcome { Stored, Skipped, Error };

struct EntryCase {
  std::string entry;
  Outcome outcome;
  std::string serverPath;  // the absolute address's path (stored and error cases)
  std::string cutEntry;    // the list entry afterwards (stored cases)
};

TEST_F(BatchDownload, EachEntryIsStoredSkippedOrRefused) {
  const std::string longName = std::string(194, 'n');   // "d/" + 194 + ".gif" = 200 bytes
  const std::string tooLong = std::string(195, 'n');    // 201 bytes
  std::string chinese;
  for (int i = 0; i < 66; ++i) chinese += "图";          // 198 bytes, 66 characters
  const std::string excluded = std::string("img/") + kExcludedHosts[0] + "/a.gif";
  std::string excludedUpper = std::string("img/") + kExcludedHosts[1] + "/ad.js";
  for (char& c : excludedUpper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  const std::vector<EntryCase> cases = {
      {"img/a.gif", Outcome::Stored, "/x/img/a.gif", "img/a.gif"},
      {"\"img/a.gif\"", Outcome::Stored, "/x/img/a.gif", "img/a.gif"},
      {"img/a.gif?v=2", Outcome::Stored, "/x/img/a.gif", "img/a.gif"},
      {"/css/main.CSS", Outcome::Stored, "/css/main.CSS", "/css/main.CSS"},
      {"js/app.js#top", Outcome::Stored, "/x/js/app.js", "js/app.js"},
      {"a.tar.gz", Outcome::Stored, "/x/a.tar.gz", "a.tar.gz"},
      {"a.abcdefg", Outcome::Stored, "/x/a.abcdefg", "a.abcdefg"},  // 7-byte suffix
      {"../../../up.gif", Outcome::Stored, "/up.gif", "../../../up.gif"},
      {"d/" + longName + ".gif", Outcome::Stored, "/x/d/" + longName + ".gif",
       "d/" + longName + ".gif"},
      {"about.html", Outcome::Skipped, "", ""},
      {"news.php", Outcome::Skipped, "", ""},
      {"setup.exe", Outcome::Skipped, "", ""},
      {"a.HTML", Outcome::Skipped, "", ""},
      {"x.url", Outcome::Skipped, "", ""},
      {"#main", Outcome::Skipped, "", ""},
      {"index", Outcome::Skipped, "", ""},
      {"", Outcome::Skipped, "", ""},
      {"javascript:show(2.5)", Outcome::Skipped, "", ""},
      {"url(img/bg.png)", Outcome::Skipped, "", ""},
      {"2.0/page", Outcome::Skipped, "", ""},
      {"file.download1", Outcome::Skipped, "", ""},
      {"a.abcdefgh", Outcome::Skipped, "", ""},  // 8-byte suffix
      {"a.图图图", Outcome::Skipped, "", ""},      // 3 characters, 9 bytes
      {"a.gif-", Outcome::Skipped, "", ""},
      {"mailto:me@site.example", Outcome::Skipped, "", ""},
      {"pic/a+b.jpg", Outcome::Skipped, "", ""},
      {"pic/+n+.jpg;", Outcome::Skipped, "", ""},
      {"{x}.gif", Outcome::Skipped, "", ""},
      {excluded, Outcome::Skipped, "", ""},
      {excludedUpper, Outcome::Skipped, "", ""},
      {"d/" + tooLong + ".gif", Outcome::Error, "/x/d/" + tooLong + ".gif", ""},
      {chinese + ".gif", Outcome::Error, "/x/" + chinese + ".gif", ""},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.entry);
    CaptureBench bench;
    ResourceList list{c.entry};
    downloadBatch(bench.context, list, base());
    const std::string abs = server.baseUrl() + c.serverPath;
    switch (c.outcome) {
      case Outcome::Stored: {
        const std::string path = hostFolderOf(bench) + c.serverPath.substr(1);
        EXPECT_TRUE(pathExists(path));
        EXPECT_EQ(list.front(), c.cutEntry);
        ASSERT_EQ(bench.log.lines.size(), 5u);
        EXPECT_EQ(bench.log.lines[0], (LoggedLine{"正在下载 " + c.cutEntry, LogColour::Red}));
        EXPECT_EQ(bench.log.lines[1], (LoggedLine{"网络地址 " + abs, LogColour::Black}));
        EXPECT_TRUE(startsWith(bench.log.lines[2].message, "创建目录成功 " + hostFolderOf(bench)));
        EXPECT_EQ(bench.log.lines[3], (LoggedLine{"下载 " + abs + " 成功", LogColour::Black}));
        EXPECT_EQ(bench.log.lines[4], (LoggedLine{"保存为 " + path, LogColour::Black}));
        EXPECT_EQ(bench.tally.downloadCount, 1);
        EXPECT_EQ(bench.tally.errorCount, 0);
        EXPECT_EQ(bench.fileList(), abs + "\r\n");
        break;
      }
      case Outcome::Skipped:
        EXPECT_TRUE(bench.log.lines.empty());
        EXPECT_TRUE(bench.contents().empty());
        EXPECT_EQ(bench.tally.downloadCount + bench.tally.errorCount, 0);
        EXPECT_TRUE(bench.tally.stylesheetList.empty() && bench.tally.scriptList.empty());
        break;
      case Outcome::Error:
        EXPECT_EQ(bench.log.lines, (std::vector<LoggedLine>{{"遭遇未知错误 " + abs, LogColour::Red}}));
        EXPECT_EQ(bench.tally.errorCount, 1);
        EXPECT_TRUE(bench.contents().empty());
        break;
    }
  }
}

TEST_F(BatchDownload, StoredMaterialsAreCountedListedAndRecordedForReanalysis) {
  CaptureBench bench;
  ResourceList list{"img/a.gif", "/css/main.CSS", "js/app.js#top", "missing.gif"};
  downloadBatch(bench.context, list, base());

  const std::string root = server.baseUrl();
  const std::string host = hostFolderOf(bench);
  EXPECT_EQ(fileText(host + "x/img/a.gif"), "GIF-a");
  EXPECT_EQ(fileText(host + "css/main.CSS"), "body{}");
  EXPECT_EQ(fileText(host + "x/js/app.js"), "run();");
  // No status check: an error page's body is what the server gave for that address.
  EXPECT_EQ(fileText(host + "x/missing.gif"), "not here");
  EXPECT_EQ(bench.tally.downloadCount, 4);
  EXPECT_EQ(bench.tally.totalBytes, 5 + 6 + 6 + 8);
  EXPECT_EQ(bench.tally.stylesheetList, (std::vector<std::string>{root + "/css/main.CSS"}));
  EXPECT_EQ(bench.tally.scriptList, (std::vector<std::string>{root + "/x/js/app.js"}));
  EXPECT_EQ(bench.fileList(), root + "/x/img/a.gif\r\n" + root + "/css/main.CSS\r\n" + root +
                                  "/x/js/app.js\r\n" + root + "/x/missing.gif\r\n");
}

TEST_F(BatchDownload, TheSameAddressTwiceIsStoredOnceAndRecordedTwice) {
  CaptureBench bench;
  ResourceList list{"css/s.css", "css/s.css"};
  downloadBatch(bench.context, list, base());

  const std::string abs = server.baseUrl() + "/x/css/s.css";
  const std::string path = hostFolderOf(bench) + "x/css/s.css";
  EXPECT_EQ(bench.log.lines.back(), (LoggedLine{path + " 已存在", LogColour::Black}));
  EXPECT_EQ(bench.tally.stylesheetList, (std::vector<std::string>{abs, abs}));
  EXPECT_EQ(bench.tally.downloadCount, 1);
  EXPECT_EQ(bench.tally.errorCount, 0);
  EXPECT_EQ(bench.fileList(), abs + "\r\n");
}

TEST_F(BatchDownload, WithTheSkipSwitchOffOnlyUrlFilesAreSkipped) {
  CaptureBench bench;
  bench.setOption(keys::kSkipSuffixSwitch, false);
  ResourceList list{"about.html", "news.php", "2.0/page", "x.url", "index"};
  downloadBatch(bench.context, list, base());

  const std::string host = hostFolderOf(bench);
  EXPECT_TRUE(pathExists(host + "x/about.html"));
  EXPECT_TRUE(pathExists(host + "x/news.php"));
  EXPECT_TRUE(pathExists(host + "x/2.0/page"));
  EXPECT_EQ(bench.tally.downloadCount, 3);
  EXPECT_FALSE(wasRequested("/x/x.url"));
}

TEST_F(BatchDownload, ThePageItselfIsAlreadyThere) {
  CaptureBench bench;
  bench.setOption(keys::kSkipSuffixSwitch, false);
  savePage(bench.context, base(), {true, "<html></html>"});
  ResourceList list{"p.html"};
  downloadBatch(bench.context, list, base());

  EXPECT_EQ(bench.log.lines.back(),
            (LoggedLine{hostFolderOf(bench) + "x/p.html 已存在", LogColour::Black}));
  EXPECT_EQ(bench.tally.downloadCount, 1);
  EXPECT_FALSE(wasRequested("/x/p.html"));
}

TEST_F(BatchDownload, AnExistingFileIsNeverFetchedNorOverwritten) {
  CaptureBench bench;
  const std::string path = hostFolderOf(bench) + "x/img/a.gif";
  std::filesystem::create_directories(hostFolderOf(bench) + "x/img");
  ASSERT_TRUE(appendToFile(path, "earlier"));

  ResourceList list{"img/a.gif"};
  downloadBatch(bench.context, list, base());
  EXPECT_EQ(fileText(path), "earlier");
  EXPECT_EQ(bench.log.lines.back(), (LoggedLine{path + " 已存在", LogColour::Black}));
  EXPECT_EQ(bench.tally.downloadCount + bench.tally.errorCount, 0);
  EXPECT_FALSE(wasRequested("/x/img/a.gif"));
}

TEST_F(BatchDownload, AFetchWithoutResponseWritesNothingAndCountsAnError) {
  int closedPort = 0;
  {
    FixtureServer gone;
    closedPort = gone.port();
  }
  CaptureBench bench;
  const std::string abs = "http://127.0.0.1:" + std::to_string(closedPort) + "/a.gif";
  ResourceList list{abs};
  downloadBatch(bench.context, list, base());

  EXPECT_EQ(bench.log.lines.back(), (LoggedLine{"下载 " + abs + " 失败", LogColour::Orange}));
  EXPECT_EQ(bench.tally.errorCount, 1);
  EXPECT_EQ(bench.tally.downloadCount, 0);
  EXPECT_TRUE(filesBelow(bench.folder).empty());  // no material, no temporary, no file list
}

TEST_F(BatchDownload, DirectoryProblemsAreReportedAndTheWriteFails) {
  struct Case {
    std::string label;
    std::string directoryPiece;  // between the host and the material "a.gif"
    bool fileInPlaceOfHost;      // a plain file where the host directory goes
    std::string expectedLine;
  };
  const std::vector<Case> cases = {
      {"bad path name", std::string(300, 'd') + "/", false, "创建目录失败 "},
      {"other code", "", true,
       "创建目录未知的值 Code:" + std::to_string(kDirectoryErrnoBase + ENOTDIR) + " "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    CaptureBench bench;
    const std::string host = hostFolderOf(bench);
    if (c.fileInPlaceOfHost) {
      ASSERT_TRUE(appendToFile(host.substr(0, host.size() - 1), "x"));
    }
    const std::string abs = server.baseUrl() + "/" + c.directoryPiece + "a.gif";

    ResourceList list{"a.gif"};
    downloadBatch(bench.context, list, server.baseUrl() + "/" + c.directoryPiece + "p.html");
    const std::vector<LoggedLine> expected = {
        {"正在下载 a.gif", LogColour::Red},
        {"网络地址 " + abs, LogColour::Black},
        {c.expectedLine + host + c.directoryPiece, LogColour::Red},
        {"下载 " + abs + " 失败", LogColour::Orange},
    };
    EXPECT_EQ(bench.log.lines, expected);
    EXPECT_EQ(bench.tally.errorCount, 1);
    EXPECT_FALSE(wasRequested("/" + c.directoryPiece + "a.gif"));
  }
}

TEST_F(BatchDownload, AnExistingDirectoryGivesNoDirectoryLine) {
  CaptureBench bench;
  ResourceList list{"img/a.gif", "img/b.gif"};
  downloadBatch(bench.context, list, base());
  int directoryLines = 0;
  for (const LoggedLine& line : bench.log.lines)
    if (startsWith(line.message, "创建目录成功 ")) ++directoryLines;
  EXPECT_EQ(directoryLines, 1);
  EXPECT_EQ(bench.tally.downloadCount, 2);
}

// Addresses whose pieces step up or in place must never put a file outside the capture
// folder, however they are written.
TEST_F(BatchDownload, NoAddressWritesOutsideTheCaptureFolder) {
  const std::string outer = test::makeScratchFolder("outer");
  const std::string folder = outer + "a/b/capture/";
  std::filesystem::create_directories(folder);
  CaptureBench bench(folder);
  bench.setOption(keys::kSkipSuffixSwitch, false);  // lets a name ".." through the filters

  const std::string root = server.baseUrl();
  ResourceList list{root + "/../../x/a.gif",   root + "/x/../../../y/b.gif",
                    root + "/./c.gif",         root + "/w/.",
                    root + "/z/..",            "../../../../../d.gif",
                    "./././e.gif",             root + "/%2e%2e/%2E%2E/f.gif"};
  downloadBatch(bench.context, list, base());

  for (const std::string& file : filesBelow(outer)) {
    SCOPED_TRACE(file);
    EXPECT_TRUE(startsWith(file, "a/b/capture/"));
  }
  const std::string host = hostFolderOf(bench);
  for (const char* stored : {"__/__/x/a.gif", "x/__/__/__/y/b.gif", "_/c.gif", "w/_", "z/__",
                             "d.gif", "x/_/_/_/e.gif", "%2e%2e/%2E%2E/f.gif"}) {
    SCOPED_TRACE(stored);
    EXPECT_TRUE(pathExists(host + stored));
  }
  EXPECT_EQ(bench.tally.errorCount, 0);
  EXPECT_EQ(bench.tally.downloadCount, 8);
}

TEST_F(BatchDownload, AStopBeforeAnEntryLeavesTheBatch) {
  CaptureBench bench;
  bench.stop = true;
  ResourceList list{"img/a.gif", "css/s.css"};
  downloadBatch(bench.context, list, base());
  EXPECT_TRUE(bench.log.lines.empty());
  EXPECT_TRUE(server.requestedPaths().empty());
}

// The handlers below use the bench, so their server is declared after it and stops first.
TEST_F(BatchDownload, AStoppedTransferLeavesNoPartialFile) {
  CaptureBench bench;
  FixtureServer slow;
  // Sends chunks until the client goes away; the stop is requested once the first is out.
  slow.serveHandler("/x/big.bin", [&bench](const httplib::Request&, httplib::Response& response) {
    response.set_chunked_content_provider(
        "application/octet-stream",
        [&bench, sent = 0](std::size_t, httplib::DataSink& sink) mutable {
          const std::string chunk(64 * 1024, 'b');
          if (!sink.write(chunk.data(), chunk.size())) return false;
          if (++sent == 1) bench.stop = true;
          if (sent == 400) sink.done();
          return true;
        });
  });
  ResourceList list{"big.bin", "img/a.gif"};
  downloadBatch(bench.context, list, slow.baseUrl() + "/x/p.html");

  const std::string abs = slow.baseUrl() + "/x/big.bin";
  EXPECT_EQ(bench.log.lines.back(), (LoggedLine{"下载 " + abs + " 失败", LogColour::Orange}));
  EXPECT_EQ(bench.tally.downloadCount, 0);
  EXPECT_EQ(bench.tally.errorCount, 1);
  EXPECT_TRUE(filesBelow(bench.folder).empty());  // neither big.bin nor its temporary file
  EXPECT_EQ(slow.requestedPaths(), (std::vector<std::string>{"/x/big.bin"}));
}

TEST_F(BatchDownload, TheSkipListIsReadAnewForEveryEntry) {
  CaptureBench bench;
  FixtureServer site;
  // The settings change while the batch runs, as when the settings window is used meanwhile.
  site.serveHandler("/x/first.gif", [&bench](const httplib::Request&, httplib::Response& response) {
    bench.setOption(keys::kSkipSuffixSwitch, false);
    response.set_content("first", "image/gif");
  });
  ResourceList list{"about.html", "first.gif", "about.html"};
  downloadBatch(bench.context, list, site.baseUrl() + "/x/p.html");
  EXPECT_EQ(bench.tally.downloadCount, 2);
  EXPECT_TRUE(pathExists(bench.folder + "127.0.0.1_" + std::to_string(site.port()) +
                         "/x/about.html"));
}

}  // namespace
}  // namespace qz
