#include "app/settings_window.h"

#include <QCloseEvent>
#include <QTabWidget>

#include "app/replace_tab.h"
#include "app/settings_tab.h"
#include "app/ui_text.h"

namespace qz {

SettingsWindow::SettingsWindow(SettingsStore& settings, Asker& asker,
                               std::function<void()> reloadSettings, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowTitleHint |
                         Qt::CustomizeWindowHint),
      reloadSettings_(std::move(reloadSettings)) {
  // Each opening starts from the settings file; the typed texts of one opening do not linger.
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(toQt(kSettingsCaption));
  setFixedSize(527, 387);
  move(50, 50);
  setFont(interfaceFont());

  tabs_ = new QTabWidget(this);
  tabs_->setGeometry(3, 3, 516, 349);
  settingsTab_ = new SettingsTab(settings, asker, reloadSettings_);
  replaceTab_ = new ReplaceTab(settings, asker, [this] { close(); });
  tabs_->addTab(settingsTab_, QStringLiteral("设置"));
  tabs_->addTab(replaceTab_, QStringLiteral("替换工具"));

  // The opening sequence: options first, then the tabs read what they show.
  reloadSettings_();
  settingsTab_->fillFromSettings();
  replaceTab_->fillFromSettings();
}

void SettingsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  settingsTab_->placeRelativeTo(tabs_);
  replaceTab_->placeRelativeTo(tabs_);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
  if (!closingDone_) {
    closingDone_ = true;
    settingsTab_->storeTypedTexts();
    reloadSettings_();
  }
  event->accept();
}

}  // namespace qz
