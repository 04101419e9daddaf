// The replace tool's tab: its options, the file dialog, and what the user is told after a run.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "app/replace_tab.h"
#include "app/settings_window.h"
#include "platform/files.h"
#include "window_fixture.h"

namespace qz::test {
namespace {

class ReplaceTabTest : public WindowTest {
 protected:
  ReplaceTab& openTab() {
    if (!window_) openWindow();
    window_->settingsButton()->click();
    return *window_->settingsWindow()->replaceTab();
  }

  std::string targetFile(const std::string& content) {
    const std::string path = makeScratchFolder("target") + "page.css";
    writeFileAtomically(path, content);
    return path;
  }

  static void fill(ReplaceTab& tab, const std::string& path, const QString& pattern,
                   const QString& replacement) {
    tab.fileEdit()->setText(QString::fromStdString(path));
    tab.patternEdit()->setPlainText(pattern);
    tab.replacementEdit()->setPlainText(replacement);
  }
};

TEST_F(ReplaceTabTest, OptionsComeFromTheirKeysAndClicksStoreThem) {
  store(keys::kKeepBackup, kTrueText);
  ReplaceTab& tab = openTab();
  EXPECT_FALSE(tab.matchCaseBox()->isChecked());
  EXPECT_TRUE(tab.keepBackupBox()->isChecked());
  EXPECT_TRUE(tab.fileEdit()->text().isEmpty());

  tab.matchCaseBox()->click();
  EXPECT_EQ(stored(keys::kMatchCase), kTrueText);
  tab.keepBackupBox()->click();
  EXPECT_EQ(stored(keys::kKeepBackup), kFalseText);
}

TEST_F(ReplaceTabTest, ControlsSitWhereTheyWereDesignedOnTheTabControl) {
  ReplaceTab& tab = openTab();
  QTabWidget* tabs = window_->settingsWindow()->tabs();
  tabs->setCurrentWidget(&tab);
  struct Case {
    const char* name;
    QWidget* control;
    QRect place;
  };
  const std::vector<Case> cases = {
      {"file", tab.fileEdit(), {142, 45, 272, 21}},
      {"browse", tab.browseButton(), {426, 43, 64, 23}},
      {"pattern", tab.patternEdit(), {142, 80, 348, 95}},
      {"match case", tab.matchCaseBox(), {18, 113, 99, 21}},
      {"replacement", tab.replacementEdit(), {141, 191, 348, 95}},
      {"keep backup", tab.keepBackupBox(), {18, 223, 82, 21}},
      {"replace", tab.replaceButton(), {357, 304, 133, 24}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QRect(c.control->mapTo(tabs, QPoint(0, 0)), c.control->size()), c.place);
  }
}

TEST_F(ReplaceTabTest, ReplacingAsksWhetherToCloseAndNoKeepsEverything) {
  ReplaceTab& tab = openTab();
  const std::string path = targetFile("a{top:12px}b{left:3px}");
  fill(tab, path, QStringLiteral("(\\d+)px"), QStringLiteral("$1em"));
  tab.keepBackupBox()->click();
  asker_.yesNoAnswers = {false};
  tab.replaceButton()->click();

  EXPECT_EQ(readWholeFile(path), "a{top:12em}b{left:3em}");
  EXPECT_EQ(readWholeFile(path + ".bak"), "a{top:12px}b{left:3px}");
  ASSERT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(asker_.asked[0].kind, "yesno");
  EXPECT_EQ(asker_.asked[0].text, QStringLiteral("恭喜,替换已完成! 是否关闭窗口?"));
  EXPECT_EQ(asker_.asked[0].caption, QStringLiteral("提示"));
  ASSERT_NE(window_->settingsWindow(), nullptr);
  EXPECT_TRUE(window_->settingsWindow()->isVisible());
  EXPECT_EQ(tab.fileEdit()->text().toStdString(), path);
  EXPECT_EQ(tab.patternEdit()->toPlainText(), QStringLiteral("(\\d+)px"));
  EXPECT_EQ(tab.replacementEdit()->toPlainText(), QStringLiteral("$1em"));
  EXPECT_TRUE(tab.replaceButton()->isEnabled());
}

TEST_F(ReplaceTabTest, YesClosesTheSettingsWindowWithItsClosingSequence) {
  ReplaceTab& tab = openTab();
  const std::string path = targetFile("ABC");
  fill(tab, path, QStringLiteral("abc"), QStringLiteral("x"));
  asker_.yesNoAnswers = {true};
  tab.replaceButton()->click();
  EXPECT_EQ(readWholeFile(path), "x");
  EXPECT_TRUE(window_->settingsWindow() == nullptr || !window_->settingsWindow()->isVisible());
  EXPECT_EQ(stored(keys::kSkipSuffixes), kDefaultSkipSuffixes);  // the closing stored the box
}

TEST_F(ReplaceTabTest, RunsThatCannotBeDoneSayWhyAndLeaveTheFile) {
  struct Case {
    const char* name;
    std::string content;
    QString pattern;
    const char* told;  // a part of the message; empty: no message at all
  };
  const std::vector<Case> cases = {
      {"pattern that does not compile", "abc", QStringLiteral("(abc"), "不是有效的正则表达式"},
      {"file holding a zero byte", std::string("abc\0abc", 7), QStringLiteral("abc"), "空字符"},
      {"empty pattern", "abc", QString(), ""},
      {"empty file", "", QStringLiteral("abc"), ""},
  };
  ReplaceTab& tab = openTab();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    asker_.asked.clear();
    const std::string path = targetFile(c.content);
    fill(tab, path, c.pattern, QStringLiteral("x"));
    tab.replaceButton()->click();
    EXPECT_EQ(readWholeFile(path), c.content);
    if (std::string(c.told).empty()) {
      EXPECT_TRUE(asker_.asked.empty());
      continue;
    }
    ASSERT_EQ(asker_.asked.size(), 1u);
    EXPECT_EQ(asker_.asked[0].kind, "inform");
    EXPECT_EQ(asker_.asked[0].icon, AskIcon::Warning);
    EXPECT_TRUE(asker_.asked[0].text.contains(QString::fromUtf8(c.told)))
        << asker_.asked[0].text.toStdString();
    EXPECT_TRUE(asker_.asked[0].text.contains(QStringLiteral("目标文件没有改动")));
  }
  EXPECT_TRUE(tab.replaceButton()->isEnabled());
}

TEST_F(ReplaceTabTest, ASecondPressWhileARunIsOpenDoesNotRunAgain) {
  ReplaceTab& tab = openTab();
  const std::string path = targetFile("a");
  fill(tab, path, QStringLiteral("a"), QStringLiteral("aa"));
  bool buttonEnabledDuringQuestion = true;
  asker_.whileOpen = [&] {
    buttonEnabledDuringQuestion = tab.replaceButton()->isEnabled();
    tab.run();  // what a second press would do, reaching the tool directly
  };
  tab.replaceButton()->click();
  EXPECT_EQ(readWholeFile(path), "aa");
  EXPECT_EQ(asker_.asked.size(), 1u);
  EXPECT_FALSE(buttonEnabledDuringQuestion);
  EXPECT_FALSE(tab.running());
}

TEST_F(ReplaceTabTest, BrowseStartsInTheSaveRootAndCancelPutsTheLastChoiceBack) {
  const std::string root = makeScratchFolder("custom-root");
  storeSaveRoot(root);
  ReplaceTab& tab = openTab();

  asker_.fileAnswers = {QString()};
  tab.browseButton()->click();
  EXPECT_TRUE(tab.fileEdit()->text().isEmpty());
  ASSERT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(asker_.asked[0].caption.toStdString(), root);
  EXPECT_EQ(asker_.lastFilter, QStringLiteral("所有文件 (*)"));

  asker_.fileAnswers = {QStringLiteral("/data/site/style.css"), QString()};
  tab.browseButton()->click();
  EXPECT_EQ(tab.fileEdit()->text(), QStringLiteral("/data/site/style.css"));
  tab.fileEdit()->setText(QStringLiteral("/typed/by/hand.css"));
  tab.browseButton()->click();
  EXPECT_EQ(tab.fileEdit()->text(), QStringLiteral("/data/site/style.css"));
}

TEST_F(ReplaceTabTest, BrowseStartsAtHomeWithoutACustomSaveRoot) {
  ReplaceTab& tab = openTab();
  tab.browseButton()->click();
  ASSERT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(asker_.asked[0].caption.toStdString(), defaultSaveRoot());
}

}  // namespace
}  // namespace qz::test
