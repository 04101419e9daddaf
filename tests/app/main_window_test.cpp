// The main window driven for real: start-up and closing, the address box with its history, and
// whole captures of a fixture site on 127.0.0.1 started with the download button.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextCursor>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/log_box.h"
#include "app/settings_window.h"
#include "app/settings_tab.h"
#include "platform/files.h"
#include "support/fixture_server.h"
#include "window_fixture.h"

namespace qz::test {
namespace {

// One line of the log box as the user sees it: the stamp and the message with their formats.
// (Neighbouring pieces of one format merge in the document, so formats are read by position.)
struct ShownLine {
  QString stamp;
  QString message;
  QColor stampColour;
  QColor messageColour;
  QTextCharFormat messageFormat;
};

QTextCharFormat formatOfCharacterAt(const QTextDocument& document, int position) {
  QTextCursor cursor(const_cast<QTextDocument*>(&document));
  cursor.setPosition(position + 1);  // a cursor reports the format of the character before it
  return cursor.charFormat();
}

std::vector<ShownLine> shownLines(const LogBox& box) {
  std::vector<ShownLine> lines;
  const QTextDocument& document = *box.document();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    if (text.isEmpty()) continue;
    const int stampEnd = text.indexOf(QStringLiteral("】")) + 1;
    ShownLine line;
    line.stamp = text.left(stampEnd);
    line.message = text.mid(stampEnd);
    line.stampColour = formatOfCharacterAt(document, block.position()).foreground().color();
    if (!line.message.isEmpty()) {
      line.messageFormat = formatOfCharacterAt(document, block.position() + stampEnd);
      line.messageColour = line.messageFormat.foreground().color();
    }
    lines.push_back(line);
  }
  return lines;
}

const ShownLine* findLine(const std::vector<ShownLine>& lines, const QString& start) {
  for (const ShownLine& line : lines)
    if (line.message.startsWith(start)) return &line;
  return nullptr;
}

const QColor kRed(255, 0, 0), kBlack(0, 0, 0), kGrey(128, 128, 128), kPink(255, 128, 192);

// A loopback port that accepts connections and never answers: a page that never arrives.
class SilentServer {
 public:
  SilentServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd_, 8);
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() { ::close(fd_); }
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  int fd_ = -1;
  int port_ = 0;
};

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, FirstStartShowsTheEmptyWindowWithItsCaption) {
  MainWindow& window = openWindow();
  EXPECT_EQ(window.titleLabel()->text(), QStringLiteral("Sorvane v22.1"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Sorvane v22.1"));
  EXPECT_EQ(window.addressCombo()->currentText(), QString());
  EXPECT_EQ(window.addressCombo()->count(), 0);
  EXPECT_FALSE(window.addressCombo()->isHidden());
  EXPECT_TRUE(window.plainAddressBox()->isHidden());
  EXPECT_TRUE(window.openFolderButton()->isHidden());
  EXPECT_FALSE(window.hintLabel()->isHidden());
  EXPECT_TRUE(window.downloadButton()->isEnabled());
  QWidget* focused = window.focusWidget();
  EXPECT_TRUE(focused == window.addressCombo() || focused == window.addressCombo()->lineEdit());
  EXPECT_TRUE(pathExists(places_.appDataFolder));
}

TEST_F(MainWindowTest, ControlsSitWhereTheWindowWasDesigned) {
  MainWindow& window = openWindow();
  EXPECT_EQ(window.size(), QSize(762, 458));
  EXPECT_EQ(window.pos(), QPoint(50, 50));
  EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
  struct Case {
    const char* name;
    QWidget* control;
    QWidget* parent;
    QRect place;
  };
  const std::vector<Case> cases = {
      {"title label", window.titleLabel(), &window, {32, 7, 424, 16}},
      {"minimise", window.minimiseButton(), &window, {662, 1, 26, 17}},
      {"close", window.closeButton(), &window, {712, 1, 43, 17}},
      {"address panel", window.addressPanel(), &window, {16, 36, 703, 48}},
      {"address label", window.addressLabel(), window.addressPanel(), {10, 10, 79, 32}},
      {"address combo", window.addressCombo(), window.addressPanel(), {92, 16, 516, 20}},
      {"plain address box", window.plainAddressBox(), window.addressPanel(), {92, 15, 516, 22}},
      {"download", window.downloadButton(), window.addressPanel(), {630, 14, 59, 24}},
      {"log box", window.logBox(), &window, {31, 111, 694, 271}},
      {"log panel", window.logPanel(), &window, {16, 92, 723, 307}},
      {"settings", window.settingsButton(), &window, {141, 410, 96, 24}},
      {"open folder", window.openFolderButton(), &window, {255, 410, 96, 24}},
      {"hint", window.hintLabel(), &window, {256, 416, 469, 45}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.control->parentWidget(), c.parent);
    EXPECT_EQ(c.control->geometry(), c.place);
  }
  EXPECT_EQ(window.addressLabel()->text(), QStringLiteral("输入网页地址"));
  EXPECT_EQ(window.downloadButton()->text(), QStringLiteral("下载"));
  EXPECT_EQ(window.settingsButton()->text(), QStringLiteral("设置"));
  EXPECT_EQ(window.openFolderButton()->text(), QStringLiteral("打开文件夹"));
  EXPECT_TRUE(window.hintLabel()->text().startsWith(
      QStringLiteral("提示:本软件可以下载您指定的单个页面以及网页内包含的素材")));
}

TEST_F(MainWindowTest, TheCutAwayColourLiesOutsideTheWindowShape) {
  MainWindow& window = openWindow();
  const QRegion shape = window.mask();
  EXPECT_FALSE(shape.isEmpty());
  EXPECT_TRUE(shape.contains(QPoint(381, 229)));
  EXPECT_TRUE(shape.contains(QPoint(381, 1)));
  EXPECT_FALSE(shape.contains(QPoint(0, 0)));
  EXPECT_FALSE(shape.contains(QPoint(761, 457)));
}

TEST_F(MainWindowTest, MinimiseButtonMinimisesAndRestoringShowsTheSameWindow) {
  MainWindow& window = openWindow();
  window.show();
  window.minimiseButton()->click();
  EXPECT_TRUE(window.isMinimized());
  window.showNormal();
  EXPECT_FALSE(window.isMinimized());
  EXPECT_EQ(window.size(), QSize(762, 458));
}

TEST_F(MainWindowTest, AddressTextsComeBackAtTheNextStart) {
  store(keys::kLastPlainAddress, "HTTPS://Shop.Example.com/cart/item.html");
  store(keys::kLastComboAddress, "http://example.org/last.html");
  writeFileAtomically(places_.historyFile, "http://a.com/\r\n\r\nb.org\r\nhttp://a.com/\r\n");
  MainWindow& window = openWindow();
  EXPECT_EQ(window.plainAddressBox()->text(), QStringLiteral("https://Shop.Example.com"));
  EXPECT_EQ(window.addressCombo()->currentText(), QStringLiteral("http://example.org/last.html"));
  QStringList listed;
  for (int i = 0; i < window.addressCombo()->count(); ++i)
    listed << window.addressCombo()->itemText(i);
  EXPECT_EQ(listed, (QStringList{"http://a.com/", "http://b.org", "http://a.com/"}));
  // Loading never rewrites the file.
  EXPECT_EQ(readWholeFile(places_.historyFile), "http://a.com/\r\n\r\nb.org\r\nhttp://a.com/\r\n");

  typeAddress(QStringLiteral("typed.example/never-captured"));
  window.close();
  EXPECT_EQ(stored(keys::kLastComboAddress), "typed.example/never-captured");
  EXPECT_EQ(stored(keys::kLastPlainAddress), "https://Shop.Example.com");
  EXPECT_FALSE(processEnded_);
}

TEST_F(MainWindowTest, EmptyAddressIsRefusedWithAMessage) {
  MainWindow& window = openWindow();
  window.downloadButton()->click();
  ASSERT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(asker_.asked[0].kind, "inform");
  EXPECT_EQ(asker_.asked[0].text, QStringLiteral("请输入要下载的网页的网址"));
  EXPECT_EQ(asker_.asked[0].caption, QStringLiteral("提示"));
  EXPECT_TRUE(window.downloadButton()->isEnabled());
  EXPECT_FALSE(window.captureStarted());
  EXPECT_FALSE(pathExists(places_.historyFile));
  QWidget* focused = window.focusWidget();
  EXPECT_TRUE(focused == window.addressCombo() || focused == window.addressCombo()->lineEdit());
}

TEST_F(MainWindowTest, DoubleClickEmptiesTheHistoryOnlyOnYes) {
  writeFileAtomically(places_.historyFile, "http://a.com\r\nhttp://b.com\r\n");
  store(keys::kLastComboAddress, "http://stored.example");
  MainWindow& window = openWindow();
  typeAddress(QStringLiteral("http://typed.example"));

  asker_.yesNoAnswers = {false};
  QTest::mouseDClick(window.addressCombo()->lineEdit(), Qt::LeftButton);
  ASSERT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(asker_.asked[0].text, QStringLiteral("是否清空列表?"));
  EXPECT_EQ(asker_.asked[0].caption, QStringLiteral("询问"));
  EXPECT_EQ(asker_.asked[0].icon, AskIcon::Question);
  EXPECT_EQ(window.addressCombo()->count(), 2);
  EXPECT_EQ(readWholeFile(places_.historyFile), "http://a.com\r\nhttp://b.com\r\n");

  asker_.yesNoAnswers = {true};
  QTest::mouseDClick(window.addressCombo()->lineEdit(), Qt::LeftButton);
  EXPECT_EQ(window.addressCombo()->count(), 0);
  EXPECT_TRUE(pathExists(places_.historyFile));
  EXPECT_EQ(readWholeFile(places_.historyFile), "");
  // The text goes back to the stored one, since that key exists.
  EXPECT_EQ(window.addressCombo()->currentText(), QStringLiteral("http://stored.example"));
}

class CaptureFromWindow : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    saveRoot_ = makeScratchFolder("saves") + "my captures";  // a folder name with a blank
    storeSaveRoot(saveRoot_);
  }
};

TEST_F(CaptureFromWindow, DownloadCapturesTheSiteAndShowsColouredLines) {
  FixtureServer server("site");
  MainWindow& window = openWindow();
  const QString typed = QString::fromStdString(server.hostAndPort() + "/index.html");
  typeAddress(typed);
  window.downloadButton()->click();
  EXPECT_FALSE(window.downloadButton()->isEnabled());
  waitForCaptureEnd();

  EXPECT_EQ(window.pageAddress(), server.hostAndPort() + "/index.html");  // as typed
  const std::vector<ShownLine> lines = shownLines(*window.logBox());
  ASSERT_FALSE(lines.empty());
  for (const ShownLine& line : lines) {
    SCOPED_TRACE((line.stamp + line.message).toStdString());
    EXPECT_TRUE(line.stamp.startsWith(QStringLiteral("【")) && line.stamp.endsWith("】"));
    EXPECT_EQ(line.stampColour, kGrey);
    EXPECT_TRUE(line.messageFormat.fontFamilies().toStringList().startsWith(QStringLiteral("宋体")));
    EXPECT_EQ(line.messageFormat.fontPointSize(), 9);
    EXPECT_FALSE(line.messageFormat.fontItalic() || line.messageFormat.fontUnderline() ||
                 line.messageFormat.fontStrikeOut());
  }
  const std::string folder = window.lastCaptureFolder();
  struct Expected {
    QString start;
    QColor colour;
  };
  const std::vector<Expected> expected = {
      {QStringLiteral("创建了本地保存目录  ") + QString::fromStdString(folder), kRed},
      {QStringLiteral("开始下载页面源代码 "), kBlack},
      {QStringLiteral("一共有 "), kBlack},
      {QStringLiteral("文件总大小:"), kRed},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.start.toStdString());
    const ShownLine* line = findLine(lines, e.start);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->messageColour, e.colour);
  }
  EXPECT_EQ(lines.back().message, QStringLiteral("所有任务完成!"));
  EXPECT_EQ(lines.back().messageColour, kRed);

  // One capture per start: the button stays disabled, the folder button replaces the hint.
  EXPECT_FALSE(window.downloadButton()->isEnabled());
  EXPECT_FALSE(window.openFolderButton()->isHidden());
  EXPECT_TRUE(window.hintLabel()->isHidden());
  EXPECT_EQ(folder.rfind(saveRoot_ + "/", 0), 0u) << folder;
  EXPECT_TRUE(pathExists(folder + kLogFileName));
  EXPECT_NE(findLine(lines, QStringLiteral("您要求下载的网页已被保存在 ") +
                                QString::fromStdString(folder)),
            nullptr);

  window.openFolderButton()->click();
  ASSERT_EQ(openedFolders_.size(), 1u);
  EXPECT_EQ(openedFolders_[0].toStdString(), folder);

  // The address was remembered with its scheme; the typed text stayed as typed.
  EXPECT_EQ(readWholeFile(places_.historyFile), "http://" + server.hostAndPort() + "/index.html\r\n");
  ASSERT_EQ(window.addressCombo()->count(), 1);
  EXPECT_EQ(window.addressCombo()->currentText(), typed);

  // A second press is refused: nothing new starts.
  window.downloadButton()->click();
  EXPECT_TRUE(asker_.asked.empty());
}

TEST_F(CaptureFromWindow, NoCaptureFolderMeansAMessageTheCaptureWaitsFor) {
  const std::string blocker = makeScratchFolder("blocked") + "a-file";
  writeFileAtomically(blocker, "not a folder");
  storeSaveRoot(blocker + "/below");
  MainWindow& window = openWindow();
  std::size_t linesWhileOpen = 99;
  asker_.whileOpen = [&] { linesWhileOpen = shownLines(*window.logBox()).size(); };
  typeAddress(QStringLiteral("example.invalid/page.html"));
  window.downloadButton()->click();
  waitForCaptureEnd();

  ASSERT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(asker_.asked[0].text, QStringLiteral("无法创建保存目录!"));
  EXPECT_EQ(asker_.asked[0].caption, QStringLiteral("信息："));
  EXPECT_EQ(linesWhileOpen, 0u);  // the capture waited for the box to close
  const std::vector<ShownLine> lines = shownLines(*window.logBox());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].message,
            QStringLiteral("无法创建保存目录!原因:目录编号超过了100、或磁盘操作权限不够!"));
  EXPECT_EQ(lines[0].messageColour, kBlack);
  EXPECT_TRUE(window.openFolderButton()->isHidden());
  EXPECT_FALSE(window.hintLabel()->isHidden());
  EXPECT_FALSE(window.downloadButton()->isEnabled());
}

TEST_F(CaptureFromWindow, ClosingDuringACaptureStoresTheTextsAndEndsWithoutWaiting) {
  SilentServer silent;
  MainWindow& window = openWindow();
  const QString address = QString::fromStdString(silent.url("/never.html"));
  typeAddress(address);
  window.downloadButton()->click();
  ASSERT_TRUE(serveEventsUntil(
      [&] { return findLine(shownLines(*window.logBox()), "开始下载页面源代码") != nullptr; }));

  window.close();
  EXPECT_TRUE(processEnded_);
  ASSERT_EQ(storedAtEnd_.size(), 2u);
  EXPECT_EQ(storedAtEnd_[1], address.toStdString());
  EXPECT_EQ(storedAtEnd_[0], "");

  // The stop request ends the transfer that would never finish; no summary follows.
  waitForCaptureEnd();
  EXPECT_EQ(findLine(shownLines(*window.logBox()), "所有任务完成!"), nullptr);
  EXPECT_TRUE(pathExists(window.lastCaptureFolder()));
}

// A preprocessing mode stand-in: records the hand-off and starts the capture when told.
class RecordingHandOff : public PreprocessHandOff {
 public:
  void handOff(const std::string& pageAddress, CaptureLauncher& launcher) override {
    address = pageAddress;
    this->launcher = &launcher;
    launcher.guiLog().add("预处理模式启动,等待目标网页载入...", LogColour::Pink);
  }
  std::string address;
  CaptureLauncher* launcher = nullptr;
};

TEST_F(CaptureFromWindow, PreprocessingModeHandsTheStartOver) {
  FixtureServer server("site");
  store(keys::kPreprocess, kTrueText);
  MainWindow& window = openWindow();
  RecordingHandOff handOff;
  window.setPreprocessHandOff(&handOff);
  typeAddress(QString::fromStdString(server.baseUrl() + "/index.html"));
  window.downloadButton()->click();

  EXPECT_EQ(handOff.address, server.baseUrl() + "/index.html");
  EXPECT_FALSE(window.captureStarted());
  EXPECT_FALSE(window.downloadButton()->isEnabled());
  std::vector<ShownLine> lines = shownLines(*window.logBox());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].messageColour, kPink);

  ASSERT_NE(handOff.launcher, nullptr);
  handOff.launcher->launchCapture(nullptr);
  waitForCaptureEnd();
  lines = shownLines(*window.logBox());
  EXPECT_EQ(lines.back().message, QStringLiteral("所有任务完成!"));
}

TEST_F(MainWindowTest, SettingsButtonBringsTheOpenWindowForward) {
  MainWindow& window = openWindow();
  window.settingsButton()->click();
  SettingsWindow* first = window.settingsWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->parentWidget(), &window);
  EXPECT_FALSE(first->isModal());
  window.settingsButton()->click();
  EXPECT_EQ(window.settingsWindow(), first);
}

TEST_F(MainWindowTest, ClosingTheMainWindowStoresWhatWasTypedInTheSettingsWindow) {
  MainWindow& window = openWindow();
  window.settingsButton()->click();
  SettingsTab* tab = window.settingsWindow()->settingsTab();
  tab->skipSuffixEdit()->setText(QStringLiteral("|gif|"));
  tab->saveRootEdit()->setText(QStringLiteral("/tmp/typed-root"));
  window.close();
  EXPECT_EQ(stored(keys::kSkipSuffixes), "|gif|");
  EXPECT_EQ(stored(keys::kSaveRootPath), "/tmp/typed-root");
}

}  // namespace
}  // namespace qz::test
