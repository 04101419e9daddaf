#pragma once
// The tab "替换工具": a stand-alone tool that applies one regular expression to one chosen
// file. Its two check boxes are stored in the settings file; the texts are not kept.
#include <QString>
#include <functional>

#include "app/tab_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qz {

class Asker;
class SettingsStore;
struct ReplaceOutcome;

inline constexpr const char* kReplaceDoneQuestion = "恭喜,替换已完成! 是否关闭窗口?";

class ReplaceTab : public TabPage {
  Q_OBJECT

 public:
  // `closeWindow` closes the settings window (answering Yes after a replacement).
  ReplaceTab(SettingsStore& settings, Asker& asker, std::function<void()> closeWindow,
             QWidget* parent = nullptr);

  // Opening: the two check boxes from their keys.
  void fillFromSettings();
  // "浏览...": a file chosen in the dialog goes into the path box; a cancelled dialog puts
  // back the file chosen last, as the dialog keeps its last confirmed choice.
  void browse();
  // "替换": the whole run. A press while a run is going on is ignored.
  void run();

  QLineEdit* fileEdit() const { return fileEdit_; }
  QPushButton* browseButton() const { return browseButton_; }
  QPlainTextEdit* patternEdit() const { return patternEdit_; }
  QCheckBox* matchCaseBox() const { return matchCaseBox_; }
  QPlainTextEdit* replacementEdit() const { return replacementEdit_; }
  QCheckBox* keepBackupBox() const { return keepBackupBox_; }
  QPushButton* replaceButton() const { return replaceButton_; }
  bool running() const { return running_; }

 private:
  void build();
  QLabel* label(const char* text, const QRect& place);
  void report(const ReplaceOutcome& outcome, const QString& filePath);

  SettingsStore& settings_;
  Asker& asker_;
  std::function<void()> closeWindow_;
  QString lastChosenFile_;
  bool running_ = false;

  QLineEdit* fileEdit_ = nullptr;              // 编辑框2
  QPushButton* browseButton_ = nullptr;        // 按钮3
  QPlainTextEdit* patternEdit_ = nullptr;      // 编辑框3
  QCheckBox* matchCaseBox_ = nullptr;          // 选择框4
  QPlainTextEdit* replacementEdit_ = nullptr;  // 编辑框4
  QCheckBox* keepBackupBox_ = nullptr;         // 选择框5
  QPushButton* replaceButton_ = nullptr;       // 按钮4
};

}  // namespace qz
