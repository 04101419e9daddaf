#pragma once
// The settings window: not modal, owned by the main window, with the tabs "设置" (the options)
// and "替换工具" (the replace tool). Every check box takes effect at once; the two typed texts
// are stored when the window closes.
#include <QWidget>
#include <functional>

class QTabWidget;

namespace qz {

class Asker;
class ReplaceTab;
class SettingsStore;
class SettingsTab;

inline constexpr const char* kSettingsCaption = "设置及其他信息 (设置修改后即时生效)";

class SettingsWindow : public QWidget {
  Q_OBJECT

 public:
  // `reloadSettings` re-reads the options for the whole program (the main window's reload).
  SettingsWindow(SettingsStore& settings, Asker& asker, std::function<void()> reloadSettings,
                 QWidget* owner);

  QTabWidget* tabs() const { return tabs_; }
  SettingsTab* settingsTab() const { return settingsTab_; }
  ReplaceTab* replaceTab() const { return replaceTab_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  std::function<void()> reloadSettings_;
  QTabWidget* tabs_ = nullptr;        // 选择夹1
  SettingsTab* settingsTab_ = nullptr;
  ReplaceTab* replaceTab_ = nullptr;
  bool closingDone_ = false;
};

}  // namespace qz
