#pragma once
// A main window of its own for each test: its own settings file, history file and save root,
// scripted dialogs, and a process end and folder opener that only record what they were asked.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/picture_button.h"
#include "platform/files.h"
#include "settings/settings_store.h"
#include "support/test_environment.h"
#include "scripted_asker.h"

namespace qz::test {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string folder = makeScratchFolder("app");
    places_ = placesIn(folder + "Pirnexsoft.p", folder + "Quenzil/");
    createDirectoryTree(places_.appDataFolder);
    saveRoot_ = makeScratchFolder("saves");
  }

  void TearDown() override { window_.reset(); }

  // Options a test wants in the file before the window reads it.
  void store(const char* key, const std::string& value) {
    writeSetting(places_.settingsFile, key, value);
  }
  void storeSaveRoot(const std::string& root) {
    store(keys::kCustomSaveRoot, kTrueText);
    store(keys::kSaveRootPath, root);
  }
  std::string stored(const char* key) const {
    return readSetting(places_.settingsFile, key, "<missing>");
  }

  MainWindow& openWindow() {
    window_ = std::make_unique<MainWindow>(asker_, places_);
    window_->setEndProcess([this] {
      processEnded_ = true;
      // What was stored by the moment the process would have ended.
      storedAtEnd_ = {stored(keys::kLastPlainAddress), stored(keys::kLastComboAddress)};
    });
    window_->setFolderOpener([this](const QString& folder) { openedFolders_.push_back(folder); });
    return *window_;
  }

  void typeAddress(const QString& address) {
    window_->addressCombo()->setEditText(address);
  }

  // Serves the window's events until its capture has ended (the capture waits for the GUI
  // thread to show every line). The generous limit only turns a hang into a failure.
  void waitForCaptureEnd() {
    if (!window_->captureStarted() || !window_->captureRunning()) return;
    QEventLoop loop;
    QObject::connect(window_.get(), &MainWindow::captureEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(180000, &loop, &QEventLoop::quit);
    if (window_->captureRunning()) loop.exec();
    ASSERT_FALSE(window_->captureRunning()) << "the capture did not end";
  }

  template <typename Condition>
  static bool serveEventsUntil(Condition condition) {
    for (int round = 0; round < 36000 && !condition(); ++round) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      QEventLoop loop;
      QTimer::singleShot(5, &loop, &QEventLoop::quit);
      loop.exec();
    }
    return condition();
  }

  AppPlaces places_;
  std::string saveRoot_;
  ScriptedAsker asker_;
  std::unique_ptr<MainWindow> window_;
  bool processEnded_ = false;
  std::vector<std::string> storedAtEnd_;
  std::vector<QString> openedFolders_;
};

}  // namespace qz::test
