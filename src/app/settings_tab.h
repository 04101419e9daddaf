#pragma once
// The tab "设置": one check box per option, the save directory with its folder chooser, and
// the list of suffixes never downloaded. A check box writes its key and reloads the options
// at once; the two edit boxes are stored when the window closes.
#include <functional>
#include <string>

#include "app/tab_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qz {

class Asker;
class SettingsStore;

// Backgrounds of an edit box that is usable, and of one that is not.
inline constexpr QRgb kUsableBackground = qRgb(255, 255, 255);
inline constexpr QRgb kDisabledBackground = qRgb(251, 250, 248);

inline constexpr const char* kRestoreDefaultsQuestion =
    "是否恢复成默认设置? |html|htm|shtml|php|jsp|asp|url|aspx|exe|rar|zip|mp3|wav|mid|com|";

class SettingsTab : public TabPage {
  Q_OBJECT

 public:
  SettingsTab(SettingsStore& settings, Asker& asker, std::function<void()> reloadSettings,
              QWidget* parent = nullptr);

  // Opening: every control from the options and the settings file (no click handling runs).
  void fillFromSettings();
  // Closing: the save directory and the suffix list as typed, whether or not their option is on.
  void storeTypedTexts();

  QCheckBox* historyBox() const { return historyBox_; }
  QCheckBox* preprocessBox() const { return preprocessBox_; }
  QCheckBox* localViewBox() const { return localViewBox_; }
  QCheckBox* customSaveRootBox() const { return customSaveRootBox_; }
  QLineEdit* saveRootEdit() const { return saveRootEdit_; }
  QPushButton* chooseFolderButton() const { return chooseFolderButton_; }
  QCheckBox* skipSuffixBox() const { return skipSuffixBox_; }
  QLineEdit* skipSuffixEdit() const { return skipSuffixEdit_; }
  QPushButton* restoreDefaultsButton() const { return restoreDefaultsButton_; }
  QLabel* saveRootHint() const { return saveRootHint_; }

 private:
  void build();
  QCheckBox* checkBox(const char* text, const QRect& place);
  QLabel* note(const char* text, const QRect& place);
  void separator(const QRect& place);
  void storeAndReload(QCheckBox* box, const char* key);
  void chooseFolder();
  void restoreDefaultSuffixes();

  SettingsStore& settings_;
  Asker& asker_;
  std::function<void()> reloadSettings_;

  QCheckBox* historyBox_ = nullptr;            // 选择框1
  QCheckBox* preprocessBox_ = nullptr;         // 选择框2
  QCheckBox* localViewBox_ = nullptr;          // 选择框7
  QCheckBox* customSaveRootBox_ = nullptr;     // 选择框3
  QLabel* saveRootHint_ = nullptr;             // 透明标签4
  QLineEdit* saveRootEdit_ = nullptr;          // 编辑框1
  QPushButton* chooseFolderButton_ = nullptr;  // 按钮2
  QCheckBox* skipSuffixBox_ = nullptr;         // 选择框6
  QLineEdit* skipSuffixEdit_ = nullptr;        // 编辑框5
  QPushButton* restoreDefaultsButton_ = nullptr;  // 按钮1
};

// The coupling of a check box with its edit box and button: ticked, both usable and the box
// white; not ticked, both disabled and the box in the disabled background.
void couple(bool ticked, QLineEdit* edit, QPushButton* button);

}  // namespace qz
