#pragma once
// The program's start window: a frameless window shaped by its background picture, the address
// row with its history, the log box, and the buttons for settings and the capture folder.
// Pressing download starts the one capture of this run on a thread of its own.
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/capture_thread.h"
#include "app/gui_thread_sink.h"
#include "app/preprocess_hand_off.h"
#include "capture/capture_job.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace qz {

class AddressHistoryBox;
class Asker;
class LogBox;
class PictureButton;
class SettingsStore;
class SettingsWindow;

inline constexpr const char* kVersionText = "22.1";
inline constexpr const char* kCaptionStem = "Sorvane v";
inline constexpr const char* kHintText =
    "提示:本软件可以下载您指定的单个页面以及网页内包含的素材,做为您设计网页时的参考\r\n";

// Where the program keeps its own files.
struct AppPlaces {
  std::string settingsFile;
  std::string appDataFolder;  // ends in "/"
  std::string historyFile;
};

// The settings file and DataRoot + "Quenzil/" (created), as start-up resolves them.
AppPlaces resolveAppPlaces();
AppPlaces placesIn(const std::string& settingsFile, const std::string& appDataFolder);

class MainWindow : public QWidget, private CaptureView, public CaptureLauncher {
  Q_OBJECT

 public:
  MainWindow(Asker& asker, const AppPlaces& places, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Preprocessing mode takes over the start of the capture when the option is on.
  void setPreprocessHandOff(PreprocessHandOff* handOff) { preprocessHandOff_ = handOff; }
  // What closing during a capture does once the address texts are stored: by default the
  // process ends at once, without waiting for the capture thread.
  void setEndProcess(std::function<void()> endProcess) { endProcess_ = std::move(endProcess); }
  // Opens a folder in the desktop's file manager.
  void setFolderOpener(std::function<void(const QString&)> opener) {
    folderOpener_ = std::move(opener);
  }

  // The download button's work: checks the address, remembers it, starts the capture.
  void startCapture();
  void openSettingsWindow();
  // Re-reads every option from the settings file; shows the address combo box and hides the
  // plain address box, as every reload does.
  void reloadSettings();

  LogWriter& guiLog() override { return guiLog_; }
  void launchCapture(MaterialCollector* documentCollector) override;

  SettingsStore& settings() { return *settings_; }
  Asker& asker() { return asker_; }
  bool captureStarted() const { return captureThread_.started(); }
  bool captureRunning() const { return captureThread_.running(); }
  // The address as typed for the capture; read it once the capture has ended.
  const std::string& pageAddress() const { return job_.pageAddress; }
  const std::string& lastCaptureFolder() const { return lastCaptureFolder_; }

  // The controls, named after their roles; the comments give the names of the window's form.
  QLabel* titleLabel() const { return titleLabel_; }
  PictureButton* minimiseButton() const { return minimiseButton_; }
  PictureButton* closeButton() const { return closeButton_; }
  QWidget* addressPanel() const { return addressPanel_; }
  QLabel* addressLabel() const { return addressLabel_; }
  QComboBox* addressCombo() const { return addressCombo_; }
  QLineEdit* plainAddressBox() const { return plainAddressBox_; }
  PictureButton* downloadButton() const { return downloadButton_; }
  QWidget* logPanel() const { return logPanel_; }
  LogBox* logBox() const { return logBox_; }
  PictureButton* settingsButton() const { return settingsButton_; }
  PictureButton* openFolderButton() const { return openFolderButton_; }
  QLabel* hintLabel() const { return hintLabel_; }
  SettingsWindow* settingsWindow() const;

 signals:
  // The capture thread has ended (emitted on the GUI thread).
  void captureEnded();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildTitleRow();
  void buildAddressRow();
  void buildLogArea();
  void buildBottomRow();
  void runStartUpSequence(const AppPlaces& places);
  void storeAddressTexts();
  void openLastCaptureFolder();

  void appendLogLine(const std::string& stamp, const std::string& message,
                     LogColour colour) override;
  void showCaptureMessage(const std::string& text, const std::string& caption) override;
  void setDownloadEnabled(bool enabled) override;
  void showOpenFolderButton(const std::string& folder) override;

  Asker& asker_;
  std::unique_ptr<SettingsStore> settings_;
  QPixmap background_;
  CaptureJob job_;
  GuiThreadSink sink_;
  ProgressLog guiLog_{&sink_};
  CaptureThread captureThread_;
  std::string lastCaptureFolder_;
  PreprocessHandOff* preprocessHandOff_ = nullptr;
  std::function<void()> endProcess_;
  std::function<void(const QString&)> folderOpener_;

  QLabel* titleLabel_ = nullptr;              // 透明标签3
  PictureButton* minimiseButton_ = nullptr;   // 超级按钮4
  PictureButton* closeButton_ = nullptr;      // 超级按钮5
  QWidget* addressPanel_ = nullptr;           // 图片框1
  QLabel* addressLabel_ = nullptr;            // 透明标签1
  QComboBox* addressCombo_ = nullptr;         // 组合框1
  QLineEdit* plainAddressBox_ = nullptr;      // 编辑框1
  PictureButton* downloadButton_ = nullptr;   // 超级按钮3
  QWidget* logPanel_ = nullptr;               // 图片框2
  LogBox* logBox_ = nullptr;                  // 超级编辑框1
  PictureButton* settingsButton_ = nullptr;   // 超级按钮1
  PictureButton* openFolderButton_ = nullptr; // 超级按钮6
  QLabel* hintLabel_ = nullptr;               // 透明标签10
  AddressHistoryBox* history_ = nullptr;
  QPointer<SettingsWindow> settingsWindow_;
};

}  // namespace qz
