// Whole captures against a real HTTP server on 127.0.0.1, and the numbered capture folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "capture/capture_job.h"
#include "fetch/page_fetcher.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/settings_store.h"
#include "support/fixture_server.h"
#include "support/recording_sink.h"
#include "support/test_environment.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using test::FixtureServer;
using test::RecordingSink;

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initialiseFetching();
    saveRoot_ = test::makeScratchFolder("save-root");
    settingsFile_ = test::makeScratchFolder("settings") + "Pirnexsoft.p";
    settings_ = std::make_unique<SettingsStore>(settingsFile_);
    settings_->load();
    useSaveRoot(saveRoot_);
  }

  void useSaveRoot(const std::string& root) {
    Settings options = *settings_->current();
    options.saveRoot = root;
    settings_->useForThisRun(options);
  }

  bool capture(const std::string& address) {
    job_ = CaptureJob{};
    job_.pageAddress = address;
    sink_ = std::make_unique<RecordingSink>();
    return runCapture(job_, CaptureServices{*settings_, *sink_, nullptr, nullptr});
  }

  bool logged(const std::string& message) const {
    auto messages = sink_->messagesOnly();
    return std::find(messages.begin(), messages.end(), message) != messages.end();
  }

  std::string stored(const std::string& relative) const {
    return readWholeFile(job_.captureFolder + relative);
  }

  std::string saveRoot_;
  std::string settingsFile_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<RecordingSink> sink_;
  CaptureJob job_;
};

TEST_F(CaptureTest, CapturesEveryKindOfReferenceOfAFixtureSite) {
  FixtureServer server("site");
  const std::string host = "127.0.0.1_" + std::to_string(server.port()) + "/";
  ASSERT_TRUE(capture(server.hostAndPort() + "/index.html"));  // typed without a scheme

  EXPECT_EQ(job_.pageAddress, server.hostAndPort() + "/index.html");
  EXPECT_EQ(job_.captureFolder, saveRoot_ + "1_" + std::to_string(server.port()) + "_1/");
  EXPECT_EQ(sink_->openFolder(), job_.captureFolder);
  EXPECT_FALSE(sink_->downloadEnabled());

  // Page, attribute materials, nested stylesheets three levels deep, a script's image.
  for (const char* file :
       {"index.html", "css/main.css", "js/app.js", "img/paper.gif", "img/logo.gif", "img/root.gif",
        "files/guide.pdf", "media/movie.swf", "img/bg.png", "css/nested/level1.css", "img/l1.png",
        "css/nested/level2.css", "css/nested/level3.css", "css/nested/deep.png",
        "css/nested/level4.css", "img/script.gif"}) {
    SCOPED_TRACE(file);
    EXPECT_TRUE(fs::is_regular_file(job_.captureFolder + host + file));
  }
  EXPECT_EQ(stored(host + "img/logo.gif"), readWholeFile(test::fixturePath("site/img/logo.gif")));
  // The fourth level is stored but never analysed; a page link in the skip list is not stored.
  EXPECT_FALSE(fs::exists(job_.captureFolder + host + "css/nested/never.png"));
  EXPECT_FALSE(fs::exists(job_.captureFolder + host + "about.html"));

  for (const char* line : {"一共有 9 个文件需要被下载", "正在重分析CSS文件",
                           "发现了CSS中嵌套的CSS文件,重分析中", "第二次发现了CSS中嵌套的CSS文件,重分析中",
                           "第三次发现了CSS中嵌套的CSS文件,重分析中", "CSS文件分析完成",
                           "一共有 1 个JS文件需要被分析", "JS文件分析完成", "所有任务完成!"}) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(logged(line));
  }
  EXPECT_EQ(job_.tally.downloadCount, 16);
  EXPECT_EQ(job_.tally.errorCount, 0);
  const auto lines = sink_->lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3].message,
            "文件总大小:" + formatSize(job_.tally.totalBytes) + ",下载数:16,错误数:0");
  EXPECT_EQ(lines[lines.size() - 2].message,
            "您要求下载的网页已被保存在 " + job_.captureFolder + host + "index.html");
  for (std::size_t i = lines.size() - 3; i < lines.size(); ++i)
    EXPECT_EQ(lines[i].colour, LogColour::Red);

  // The file list starts with the page, one CR LF line per stored file.
  const auto listed = splitText(stored("下载文件列表.txt"), "\r\n");
  ASSERT_EQ(listed.size(), 16u);
  EXPECT_EQ(listed.front(), "http://" + server.hostAndPort() + "/index.html");

  // The log file holds every line from the folder's creation on, stamped, with CR LF.
  const auto logLines = splitText(stored("软件日志.txt"), "\r\n");
  ASSERT_EQ(logLines.size(), lines.size());
  EXPECT_EQ(logLines.front(), lines.front().stamp + "创建了本地保存目录  " + job_.captureFolder);
  EXPECT_EQ(logLines.back(), lines.back().stamp + "所有任务完成!");
}

TEST_F(CaptureTest, SecondCaptureOfTheSameSiteLandsInFolderTwo) {
  FixtureServer server("site");
  ASSERT_TRUE(capture("http://" + server.hostAndPort() + "/index.html"));
  const std::string first = job_.captureFolder;
  ASSERT_TRUE(capture("http://" + server.hostAndPort() + "/index.html"));
  EXPECT_EQ(first.substr(0, first.size() - 2) + "2/", job_.captureFolder);
  EXPECT_EQ(job_.tally.downloadCount, 16);  // nothing of the first folder is reused
}

TEST_F(CaptureTest, ErrorPageBodyIsStoredAsTheMaterial) {
  FixtureServer server;
  server.serveText("/p.html", "<img src=\"gone.gif\" >");
  server.serveText("/gone.gif", "no such picture", "text/html", 404);
  ASSERT_TRUE(capture("http://" + server.hostAndPort() + "/p.html"));
  EXPECT_EQ(stored("127.0.0.1_" + std::to_string(server.port()) + "/gone.gif"), "no such picture");
  EXPECT_EQ(job_.tally.errorCount, 0);
}

TEST_F(CaptureTest, UnreachableHostStillEndsWithTheSummary) {
  int closedPort = 0;
  {
    FixtureServer server;
    closedPort = server.port();
  }
  const std::string address = "http://127.0.0.1:" + std::to_string(closedPort) + "/index.html";
  ASSERT_TRUE(capture(address));
  EXPECT_TRUE(logged("下载 " + address + " 失败"));
  EXPECT_TRUE(logged("文件总大小:0 字节,下载数:0,错误数:1"));
  EXPECT_TRUE(logged("一共有 0 个文件需要被下载"));
  EXPECT_TRUE(logged("所有任务完成!"));
  EXPECT_TRUE(job_.tally.savedPagePath.empty());
}

TEST_F(CaptureTest, SelfImportingStylesheetRunsEveryNestedPassThenStops) {
  FixtureServer server;
  server.serveText("/p.html", "<link href=\"self.css\" >");
  server.serveText("/self.css", "@import url(self.css);", "text/css");
  ASSERT_TRUE(capture("http://" + server.hostAndPort() + "/p.html"));
  for (const char* line : {"发现了CSS中嵌套的CSS文件,重分析中", "第二次发现了CSS中嵌套的CSS文件,重分析中",
                           "第三次发现了CSS中嵌套的CSS文件,重分析中"})
    EXPECT_TRUE(logged(line)) << line;
  const auto paths = server.requestedPaths();
  // Once for the batch download, then once per pass: first and three nested.
  EXPECT_EQ(std::count(paths.begin(), paths.end(), "/self.css"), 5);
  // The list ends with the entry the last pass analysed and the one it appended, unanalysed.
  EXPECT_EQ(job_.tally.stylesheetList.size(), 2u);
}

TEST_F(CaptureTest, ScriptMaterialsResolveAgainstThePageDirectory) {
  FixtureServer server;
  server.serveText("/sub/page.html", "<script src=\"js/s.js\" ></script>");
  server.serveText("/sub/js/s.js", "pic.src = \"img\\/p.gif\"\n", "application/javascript");
  server.serveText("/sub/img/p.gif", "GIF");
  ASSERT_TRUE(capture("http://" + server.hostAndPort() + "/sub/page.html"));
  EXPECT_EQ(stored("127.0.0.1_" + std::to_string(server.port()) + "/sub/img/p.gif"), "GIF");
  EXPECT_TRUE(logged("网络地址 http://" + server.hostAndPort() + "/sub/img/p.gif"));
}

TEST_F(CaptureTest, EmptyListsLogOnlyHeadingCountAndClosing) {
  FixtureServer server;
  server.serveText("/plain.html", "<p>no materials</p>");
  ASSERT_TRUE(capture("http://" + server.hostAndPort() + "/plain.html"));
  auto messages = sink_->messagesOnly();
  auto heading = std::find(messages.begin(), messages.end(), "正在重分析CSS文件");
  ASSERT_NE(heading, messages.end());
  ASSERT_GE(messages.end() - heading, 3);
  EXPECT_EQ(heading[1], "一共有 0 个CSS文件需要被分析");
  EXPECT_EQ(heading[2], "CSS文件分析完成");
}

TEST_F(CaptureTest, FolderNumbersRunFromOneToAHundred) {
  fs::create_directories(saveRoot_ + "example_1");
  fs::create_directories(saveRoot_ + "example_2");
  CaptureJob job;
  ASSERT_TRUE(createCaptureFolder(job, *settings_, "example"));
  EXPECT_EQ(job.captureFolder, saveRoot_ + "example_3/");
  EXPECT_EQ(job.logFilePath, job.captureFolder + "软件日志.txt");
  EXPECT_EQ(job.fileListPath, job.captureFolder + "下载文件列表.txt");
  EXPECT_FALSE(fs::exists(job.logFilePath));

  for (int n = 4; n <= 99; ++n) fs::create_directories(saveRoot_ + "example_" + std::to_string(n));
  ASSERT_TRUE(createCaptureFolder(job, *settings_, "example"));
  EXPECT_EQ(job.captureFolder, saveRoot_ + "example_100/");
  EXPECT_FALSE(createCaptureFolder(job, *settings_, "example"));
}

TEST_F(CaptureTest, SaveRootGetsItsTrailingSeparatorForTheRestOfTheRun) {
  useSaveRoot(saveRoot_.substr(0, saveRoot_.size() - 1));
  CaptureJob job;
  ASSERT_TRUE(createCaptureFolder(job, *settings_, "example"));
  EXPECT_EQ(settings_->current()->saveRoot, saveRoot_);
  EXPECT_EQ(job.captureFolder, saveRoot_ + "example_1/");
}

TEST_F(CaptureTest, NoFolderShowsTheMessageAndStopsBeforeAnyStage) {
  useSaveRoot(saveRoot_ + "missing/deeper/");
  EXPECT_FALSE(capture("site.example/x"));
  EXPECT_EQ(sink_->messageBoxes(), std::vector<std::string>{"信息：|无法创建保存目录!"});
  const auto lines = sink_->lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].message, "无法创建保存目录!原因:目录编号超过了100、或磁盘操作权限不够!");
  EXPECT_EQ(lines[0].colour, LogColour::Black);
  EXPECT_TRUE(job_.logFilePath.empty());
}

TEST_F(CaptureTest, PortColonBecomesUnderscoreInTheFolderName) {
  FixtureServer server;
  server.serveText("/", "<p>home</p>");
  ASSERT_TRUE(capture("localhost:" + std::to_string(server.port()) + "/"));
  EXPECT_EQ(job_.captureFolder, saveRoot_ + "localhost_" + std::to_string(server.port()) + "_1/");
}

}  // namespace
}  // namespace qz
