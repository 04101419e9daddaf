// Preprocessing mode from the window: with the option ticked, download opens the page in the
// hidden browser, waits for it to settle and captures what its live document holds.
#include <gtest/gtest.h>

#include <QTextDocument>

#include "app/browser_hand_off.h"
#include "app/log_box.h"
#include "support/fixture_server.h"
#include "window_fixture.h"

namespace qz::test {
namespace {

constexpr int kShortLoadWaitMs = 200;  // the program waits 5000 ms

class PreprocessFromWindow : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    storeSaveRoot(saveRoot_);
    store(keys::kPreprocess, kTrueText);
  }
  void TearDown() override {
    window_.reset();  // the capture thread ends before the browser it queries
    handOff_.reset();
  }

  std::unique_ptr<BrowserHandOff> handOff_ = std::make_unique<BrowserHandOff>(kShortLoadWaitMs);
};

TEST_F(PreprocessFromWindow, CapturesTheImagesAScriptMadeWithPinkNotices) {
  FixtureServer server("browser");
  MainWindow& window = openWindow();
  window.setPreprocessHandOff(handOff_.get());
  typeAddress(QString::fromStdString(server.hostAndPort() + "/scripted.html"));
  window.downloadButton()->click();

  const QString text = window.logBox()->document()->toPlainText();
  EXPECT_TRUE(text.contains(QStringLiteral("预处理模式启动,等待目标网页载入...")));
  EXPECT_FALSE(window.downloadButton()->isEnabled());
  ASSERT_TRUE(serveEventsUntil([&] { return window.captureStarted(); }));
  waitForCaptureEnd();

  const QString log = window.logBox()->document()->toPlainText();
  for (const char* line : {"目标网页载入完成,开始分析", "一共有 0 个超链接素材需要被下载",
                           "一共有 2 个图片素材需要被下载", "一共有 1 个SWF文件需要被下载",
                           "所有任务完成!"})
    EXPECT_TRUE(log.contains(QString::fromUtf8(line))) << line;
  const std::string folder = window.lastCaptureFolder() + "127.0.0.1_" +
                             std::to_string(server.port()) + "/img/made-by-script.gif";
  EXPECT_TRUE(pathExists(folder)) << folder;
}

}  // namespace
}  // namespace qz::test
