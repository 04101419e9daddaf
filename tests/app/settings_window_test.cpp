// The settings window: what it shows when it opens, what each control writes and how the
// options are reloaded, and what its closing stores.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "app/settings_tab.h"
#include "app/settings_window.h"
#include "platform/files.h"
#include "window_fixture.h"

namespace qz::test {
namespace {

class SettingsWindowTest : public WindowTest {
 protected:
  SettingsWindow& openSettings() {
    if (!window_) openWindow();
    window_->settingsButton()->click();
    return *window_->settingsWindow();
  }
  SettingsTab& tab() { return *window_->settingsWindow()->settingsTab(); }
  std::shared_ptr<const Settings> options() { return window_->settings().current(); }

  static QColor background(const QLineEdit* edit) { return edit->palette().color(QPalette::Base); }
};

const QColor kWhite(255, 255, 255), kGreyish(251, 250, 248);

TEST_F(SettingsWindowTest, FreshSettingsShowTheDefaults) {
  SettingsWindow& settings = openSettings();
  EXPECT_EQ(settings.windowTitle(), QStringLiteral("设置及其他信息 (设置修改后即时生效)"));
  EXPECT_EQ(settings.size(), QSize(527, 387));
  EXPECT_EQ(settings.tabs()->geometry(), QRect(3, 3, 516, 349));
  EXPECT_EQ(settings.tabs()->tabText(0), QStringLiteral("设置"));
  EXPECT_EQ(settings.tabs()->tabText(1), QStringLiteral("替换工具"));

  EXPECT_TRUE(tab().historyBox()->isChecked());
  EXPECT_FALSE(tab().historyBox()->isEnabled());
  EXPECT_FALSE(tab().preprocessBox()->isChecked());
  EXPECT_FALSE(tab().customSaveRootBox()->isChecked());
  EXPECT_TRUE(tab().skipSuffixBox()->isChecked());
  EXPECT_TRUE(tab().localViewBox()->isChecked());

  EXPECT_EQ(tab().saveRootEdit()->text().toStdString(), defaultSaveRoot());
  EXPECT_FALSE(tab().saveRootEdit()->isEnabled());
  EXPECT_FALSE(tab().chooseFolderButton()->isEnabled());
  EXPECT_EQ(background(tab().saveRootEdit()), kGreyish);

  EXPECT_EQ(tab().skipSuffixEdit()->text().toStdString(), kDefaultSkipSuffixes);
  EXPECT_TRUE(tab().skipSuffixEdit()->isEnabled());
  EXPECT_TRUE(tab().restoreDefaultsButton()->isEnabled());
  EXPECT_EQ(background(tab().skipSuffixEdit()), kWhite);
  EXPECT_EQ(tab().saveRootHint()->text(), QStringLiteral("如果不指定,下载后将默认存放在主目录中"));
}

TEST_F(SettingsWindowTest, ControlsSitWhereTheyWereDesignedOnTheTabControl) {
  SettingsWindow& settings = openSettings();
  struct Case {
    const char* name;
    QWidget* control;
    QRect place;
  };
  const std::vector<Case> cases = {
      {"history", tab().historyBox(), {24, 49, 133, 17}},
      {"preprocess", tab().preprocessBox(), {24, 91, 151, 17}},
      {"local view", tab().localViewBox(), {24, 148, 151, 17}},
      {"custom save root", tab().customSaveRootBox(), {24, 196, 162, 17}},
      {"save root hint", tab().saveRootHint(), {196, 193, 344, 24}},
      {"save root", tab().saveRootEdit(), {24, 224, 399, 21}},
      {"choose folder", tab().chooseFolderButton(), {435, 223, 64, 23}},
      {"skip suffixes", tab().skipSuffixBox(), {24, 274, 162, 17}},
      {"suffix list", tab().skipSuffixEdit(), {24, 303, 399, 21}},
      {"restore defaults", tab().restoreDefaultsButton(), {434, 302, 64, 23}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QRect onTabs(c.control->mapTo(settings.tabs(), QPoint(0, 0)), c.control->size());
    EXPECT_EQ(onTabs, c.place);
  }
}

TEST_F(SettingsWindowTest, EachCheckBoxStoresItsKeyAndTheOptionsFollowAtOnce) {
  openSettings();
  struct Case {
    const char* name;
    QCheckBox* box;
    const char* key;
    bool Settings::*option;
  };
  const std::vector<Case> cases = {
      {"preprocess", tab().preprocessBox(), keys::kPreprocess, &Settings::preprocessOption},
      {"local view", tab().localViewBox(), keys::kLocalView, &Settings::localViewOption},
      {"custom save root", tab().customSaveRootBox(), keys::kCustomSaveRoot,
       &Settings::customSaveRootOption},
      {"skip suffixes", tab().skipSuffixBox(), keys::kSkipSuffixSwitch,
       &Settings::skipSuffixOption},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int round = 0; round < 2; ++round) {
      c.box->click();
      const bool ticked = c.box->isChecked();
      EXPECT_EQ(stored(c.key), ticked ? kTrueText : kFalseText);
      EXPECT_EQ((*options()).*(c.option), ticked);
    }
  }
}

TEST_F(SettingsWindowTest, CustomSaveRootTicksOnCreatesTheStoredFolderAndOffKeepsIt) {
  const std::string wanted = makeScratchFolder("roots") + "one/two/three";
  store(keys::kSaveRootPath, wanted);
  openSettings();
  EXPECT_EQ(tab().saveRootEdit()->text().toStdString(), wanted);  // shown while the option is off

  tab().customSaveRootBox()->click();
  EXPECT_TRUE(tab().saveRootEdit()->isEnabled());
  EXPECT_TRUE(tab().chooseFolderButton()->isEnabled());
  EXPECT_EQ(background(tab().saveRootEdit()), kWhite);
  EXPECT_EQ(options()->saveRoot, wanted);
  EXPECT_TRUE(pathExists(wanted));

  tab().customSaveRootBox()->click();
  EXPECT_FALSE(tab().saveRootEdit()->isEnabled());
  EXPECT_EQ(background(tab().saveRootEdit()), kGreyish);
  EXPECT_EQ(options()->saveRoot, defaultSaveRoot());
  EXPECT_EQ(stored(keys::kSaveRootPath), wanted);
}

TEST_F(SettingsWindowTest, SkipSwitchOffLeavesOnlyShortcutsSkipped) {
  store(keys::kSkipSuffixes, "gif|png");
  openSettings();
  EXPECT_EQ(options()->skipSuffixList, "|gif|png|");
  tab().skipSuffixBox()->click();
  EXPECT_EQ(options()->skipSuffixList, "|url|");
  EXPECT_FALSE(tab().skipSuffixEdit()->isEnabled());
  EXPECT_FALSE(tab().restoreDefaultsButton()->isEnabled());
  EXPECT_EQ(background(tab().skipSuffixEdit()), kGreyish);
}

TEST_F(SettingsWindowTest, FolderChooserStoresTheChoiceAndCancelChangesNothing) {
  store(keys::kCustomSaveRoot, kTrueText);
  openSettings();
  const QString chosen = QString::fromStdString(makeScratchFolder("chosen") + "sub");

  asker_.folderAnswers = {QString()};
  tab().chooseFolderButton()->click();
  ASSERT_EQ(asker_.asked.size(), 1u);
  EXPECT_EQ(asker_.asked[0].kind, "folder");
  EXPECT_EQ(asker_.asked[0].text, QStringLiteral("选择下载后的存放目录"));
  EXPECT_EQ(stored(keys::kSaveRootPath), "<missing>");

  asker_.folderAnswers = {chosen};
  tab().chooseFolderButton()->click();
  EXPECT_EQ(tab().saveRootEdit()->text(), chosen);
  EXPECT_EQ(stored(keys::kSaveRootPath), chosen.toStdString());
  EXPECT_EQ(options()->saveRoot, chosen.toStdString());
  EXPECT_TRUE(pathExists(chosen.toStdString()));
}

TEST_F(SettingsWindowTest, RestoreDefaultsFillsTheBoxAndClosingStoresIt) {
  store(keys::kSkipSuffixes, "gif");
  SettingsWindow& settings = openSettings();
  asker_.yesNoAnswers = {false, true};
  tab().restoreDefaultsButton()->click();
  EXPECT_EQ(tab().skipSuffixEdit()->text(), QStringLiteral("gif"));
  tab().restoreDefaultsButton()->click();
  ASSERT_EQ(asker_.asked.size(), 2u);
  EXPECT_EQ(asker_.asked[1].text.toStdString(),
            "是否恢复成默认设置? |html|htm|shtml|php|jsp|asp|url|aspx|exe|rar|zip|mp3|wav|mid|com|");
  EXPECT_EQ(asker_.asked[1].caption, QStringLiteral("询问"));
  EXPECT_EQ(tab().skipSuffixEdit()->text().toStdString(), kDefaultSkipSuffixes);
  EXPECT_EQ(stored(keys::kSkipSuffixes), "gif");  // nothing written yet

  settings.close();
  EXPECT_EQ(stored(keys::kSkipSuffixes), kDefaultSkipSuffixes);
  EXPECT_EQ(options()->skipSuffixList, std::string("|") + kDefaultSkipSuffixes + "|");
}

TEST_F(SettingsWindowTest, TypedTextsTakeEffectOnlyWhenTheWindowCloses) {
  SettingsWindow& settings = openSettings();
  tab().skipSuffixEdit()->setText(QStringLiteral("gif,png"));  // commas: stored as typed
  tab().saveRootEdit()->setText(QStringLiteral("/somewhere/typed"));
  // A capture started now still uses the old list.
  EXPECT_EQ(options()->skipSuffixList, std::string("|") + kDefaultSkipSuffixes + "|");

  settings.close();
  EXPECT_EQ(stored(keys::kSkipSuffixes), "gif,png");
  EXPECT_EQ(options()->skipSuffixList, "|gif,png|");
  // Stored although its option is off; the save root stays the default.
  EXPECT_EQ(stored(keys::kSaveRootPath), "/somewhere/typed");
  EXPECT_EQ(options()->saveRoot, defaultSaveRoot());
}

TEST_F(SettingsWindowTest, EachOpeningStartsFromTheSettingsFile) {
  openSettings();
  tab().skipSuffixEdit()->setText(QStringLiteral("|swf|"));
  window_->settingsWindow()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window_->settingsWindow(), nullptr);

  store(keys::kPreprocess, kTrueText);
  openSettings();
  EXPECT_EQ(tab().skipSuffixEdit()->text(), QStringLiteral("|swf|"));
  EXPECT_TRUE(tab().preprocessBox()->isChecked());
  EXPECT_TRUE(options()->preprocessOption);
}

}  // namespace
}  // namespace qz::test
