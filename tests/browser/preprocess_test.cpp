// Preprocessing mode: the load wait and its state on the GUI thread, and whole captures that
// collect the materials from the hidden page's document. The tests wait 200 ms, not 5000.
#include <gtest/gtest.h>

#include <QWebEnginePage>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "browser/browser_document.h"
#include "browser/headless_capture.h"
#include "capture/document_collection.h"
#include "event_pump.h"
#include "fetch/page_fetcher.h"
#include "platform/files.h"
#include "settings/settings_store.h"
#include "support/fixture_server.h"
#include "support/recording_sink.h"
#include "support/test_environment.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using test::FixtureServer;
using test::RecordedLine;
using test::RecordingSink;
using test::serveEventsUntil;

constexpr int kShortWaitMs = 200;

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// --- The timer's period rule -------------------------------------------------------------

TEST(LoadWaitTimerTest, WritingThePeriodFollowsTheTimersRule) {
  struct Case {
    const char* name;
    int runningPeriod;  // 0: stopped
    int written;
    bool runsAfter;
    bool countdownGoesOn;  // when it runs after: the earlier countdown, not a fresh one
  };
  const std::vector<Case> cases = {
      {"stopped, a period starts it", 0, 5000, true, false},
      {"the same period leaves the countdown alone", 5000, 5000, true, true},
      {"a different period starts anew", 5000, 9000, true, false},
      {"0 stops it", 5000, 0, false, false},
      {"0 on a stopped timer changes nothing", 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    // A stopped timer keeps the interval it last had; it must not count as its period.
    timer.setInterval(5000);
    if (c.runningPeriod > 0) timer.start(c.runningPeriod);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int remainingBefore = timer.remainingTime();

    setTimerPeriod(timer, c.written);

    EXPECT_EQ(timer.isActive(), c.runsAfter);
    if (!c.runsAfter) continue;
    EXPECT_EQ(timer.interval(), c.written);
    if (c.countdownGoesOn)
      EXPECT_LE(timer.remainingTime(), remainingBefore);
    else
      EXPECT_GT(timer.remainingTime(), c.runningPeriod - 50);
  }
}

// --- The hand-off and the load wait ------------------------------------------------------

// Holds a request until the test ends (at most a minute), for a page that never completes.
class Gate {
 public:
  void wait() {
    std::unique_lock lock(mutex_);
    opened_.wait_for(lock, std::chrono::seconds(60), [this] { return open_; });
  }
  void open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

class PreprocessControllerTest : public ::testing::Test {
 protected:
  void TearDown() override { gate_.open(); }

  std::vector<RecordedLine> lines() const { return sink_.lines(); }
  bool requested(const std::string& path) const {
    return contains(server_.requestedPaths(), path);
  }

  Gate gate_;
  FixtureServer server_{"browser"};
  RecordingSink sink_;
  ProgressLog log_{&sink_};
  int starts_ = 0;
  PreprocessController controller_{[this] { ++starts_; }, kShortWaitMs};
};

TEST_F(PreprocessControllerTest, StartsTheCaptureOnceAfterTheFirstCompletedDocument) {
  controller_.handOff(server_.baseUrl() + "/scripted.html", log_);
  EXPECT_EQ(controller_.state(), PreprocessState::Waiting);
  ASSERT_EQ(lines().size(), 1u);
  EXPECT_EQ(lines()[0].message, "预处理模式启动,等待目标网页载入...");
  EXPECT_EQ(lines()[0].colour, LogColour::Pink);
  EXPECT_EQ(starts_, 0);

  ASSERT_TRUE(serveEventsUntil([&] { return starts_ == 1; }));
  EXPECT_EQ(controller_.state(), PreprocessState::Started);
  ASSERT_EQ(lines().size(), 2u);
  EXPECT_EQ(lines()[1].message, "目标网页载入完成,开始分析");
  EXPECT_EQ(lines()[1].colour, LogColour::Pink);

  // A document completed after the start sets the countdown going again; when it ends it
  // finds the capture started and does nothing.
  int loads = 0;
  QObject::connect(controller_.page(), &QWebEnginePage::loadFinished, [&](bool) { ++loads; });
  controller_.page()->triggerAction(QWebEnginePage::Reload);
  ASSERT_TRUE(serveEventsUntil([&] { return loads == 1; }));
  EXPECT_TRUE(controller_.loadWaitTimer().isActive());
  ASSERT_TRUE(serveEventsUntil([&] { return !controller_.loadWaitTimer().isActive(); }));
  EXPECT_EQ(starts_, 1);
  EXPECT_EQ(controller_.state(), PreprocessState::Started);
  EXPECT_EQ(lines().size(), 2u);
}

TEST_F(PreprocessControllerTest, APageThatNeverCompletesKeepsWaiting) {
  server_.serveHandler("/never.html", [this](const auto&, auto&) { gate_.wait(); });
  controller_.handOff(server_.baseUrl() + "/never.html", log_);
  ASSERT_TRUE(serveEventsUntil([&] { return requested("/never.html"); }));

  test::serveEventsFor(10 * kShortWaitMs);
  EXPECT_EQ(controller_.state(), PreprocessState::Waiting);
  EXPECT_FALSE(controller_.loadWaitTimer().isActive());
  EXPECT_EQ(starts_, 0);
}

// The engine shows its error page for an address it cannot load, and that page completes
// like any other: the capture starts, and its own fetch then reports the failure.
TEST_F(PreprocessControllerTest, AnAddressThatCannotBeLoadedStillCompletesADocument) {
  int closedPort = 0;
  {
    FixtureServer gone;
    closedPort = gone.port();
  }
  controller_.handOff("http://127.0.0.1:" + std::to_string(closedPort) + "/page.html", log_);
  EXPECT_TRUE(serveEventsUntil([&] { return starts_ == 1; }));
}

TEST_F(PreprocessControllerTest, AnAddressTypedWithoutASchemeIsLoadedOverHttp) {
  controller_.handOff(server_.hostAndPort() + "/scripted.html", log_);
  ASSERT_TRUE(serveEventsUntil([&] { return starts_ == 1; }));
  EXPECT_TRUE(requested("/scripted.html"));
  EXPECT_EQ(controller_.page()->url().toString().toStdString(),
            server_.baseUrl() + "/scripted.html");
}

// --- Whole captures ----------------------------------------------------------------------

class PreprocessCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initialiseFetching();
    settings_ = std::make_unique<SettingsStore>(test::makeScratchFolder("settings") +
                                                "Pirnexsoft.p");
    settings_->load();
    Settings options = *settings_->current();
    options.saveRoot = test::makeScratchFolder("save-root");
    settings_->useForThisRun(options);
  }

  void usePreprocessing(bool on) {
    Settings options = *settings_->current();
    options.preprocessOption = on;
    settings_->useForThisRun(options);
  }

  CaptureServices services(MaterialCollector* documentCollector = nullptr) {
    return CaptureServices{*settings_, sink_, nullptr, documentCollector};
  }

  std::string pageAddress() const { return server_.baseUrl() + "/scripted.html"; }
  bool stored(const std::string& relative) const {
    return fs::is_regular_file(job_.captureFolder + "127.0.0.1_" +
                               std::to_string(server_.port()) + "/" + relative);
  }
  std::vector<std::string> countLines() const {
    std::vector<std::string> counts;
    for (const std::string& message : sink_.messagesOnly())
      if (message.starts_with("一共有 ") && message.ends_with("需要被下载"))
        counts.push_back(message);
    return counts;
  }
  std::string lastLine() const { return sink_.messagesOnly().back(); }

  void TearDown() override { gate_.open(); }

  Gate gate_;
  FixtureServer server_{"browser"};
  std::unique_ptr<SettingsStore> settings_;
  RecordingSink sink_;
  CaptureJob job_;
};

TEST_F(PreprocessCaptureTest, TakesTheMaterialsOfTheLoadedDocument) {
  usePreprocessing(true);
  job_.pageAddress = pageAddress();
  ASSERT_TRUE(captureInPreprocessingMode(job_, services(), kShortWaitMs));

  // No hyperlink: the count 0, and the images follow. The inline scripts count as empty
  // entries; only the param named "Movie" is a movie.
  EXPECT_EQ(countLines(), (std::vector<std::string>{
                              "一共有 0 个超链接素材需要被下载",
                              "一共有 2 个图片素材需要被下载",
                              "一共有 2 个JS文件需要被下载",
                              "一共有 1 个CSS文件需要被下载",
                              "一共有 1 个SWF文件需要被下载",
                          }));
  struct Expectation {
    const char* file;
    bool stored;
  };
  for (const Expectation& e : std::vector<Expectation>{{"img/static.gif", true},
                                                       {"img/made-by-script.gif", true},
                                                       {"js/plain.js", true},
                                                       {"css/plain.css", true},
                                                       {"media/intro.swf", true},
                                                       {"media/other.swf", false}}) {
    SCOPED_TRACE(e.file);
    EXPECT_EQ(stored(e.file), e.stored);
  }

  const std::vector<std::string> messages = sink_.messagesOnly();
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(messages[0], "预处理模式启动,等待目标网页载入...");
  EXPECT_EQ(messages[1], "目标网页载入完成,开始分析");
  EXPECT_TRUE(messages[2].starts_with("创建了本地保存目录  "));
  EXPECT_EQ(lastLine(), "所有任务完成!");
  EXPECT_TRUE(contains(messages, "文件总大小:" + formatSize(job_.tally.totalBytes) +
                                     ",下载数:6,错误数:0"));
  // The saved page is the fetched source, not the browser's version of it.
  EXPECT_NE(readWholeFile(job_.tally.savedPagePath).find("'img/made-by-' + 'script.gif'"),
            std::string::npos);
}

TEST_F(PreprocessCaptureTest, PatternModeDoesNotSeeWhatAScriptAdds) {
  job_.pageAddress = pageAddress();
  ASSERT_TRUE(runCapture(job_, services()));
  EXPECT_TRUE(stored("img/static.gif"));
  EXPECT_FALSE(stored("img/made-by-script.gif"));
}

TEST_F(PreprocessCaptureTest, WithoutADocumentEveryKindCountsZeroAndTheCaptureEnds) {
  usePreprocessing(true);
  BrowserDocument unattached;
  DocumentCollector collector(&unattached);
  job_.pageAddress = pageAddress();
  ASSERT_TRUE(runCapture(job_, services(&collector)));

  EXPECT_EQ(countLines(), (std::vector<std::string>{
                              "一共有 0 个超链接素材需要被下载",
                              "一共有 0 个图片素材需要被下载",
                              "一共有 0 个JS文件需要被下载",
                              "一共有 0 个CSS文件需要被下载",
                              "一共有 0 个SWF文件需要被下载",
                          }));
  EXPECT_TRUE(fs::is_regular_file(job_.tally.savedPagePath));
  EXPECT_EQ(lastLine(), "所有任务完成!");
}

TEST_F(PreprocessCaptureTest, AStopRequestWhileThePageIsAwaitedEndsWithoutACapture) {
  server_.serveHandler("/never.html", [this](const auto&, auto&) { gate_.wait(); });
  usePreprocessing(true);
  std::atomic<bool> stop{false};
  CaptureServices stoppable{*settings_, sink_, &stop, nullptr};
  QTimer::singleShot(kShortWaitMs, [&] { stop = true; });
  job_.pageAddress = server_.baseUrl() + "/never.html";

  EXPECT_FALSE(captureInPreprocessingMode(job_, stoppable, kShortWaitMs));
  EXPECT_TRUE(job_.captureFolder.empty());
  EXPECT_EQ(sink_.messagesOnly(),
            std::vector<std::string>{"预处理模式启动,等待目标网页载入..."});
}

}  // namespace
}  // namespace qz
