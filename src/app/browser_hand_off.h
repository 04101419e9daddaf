#pragma once
// Preprocessing mode for the main window: the hidden browser is made on the first hand-off
// (a run that never uses the mode never starts the engine), loads the typed address, and
// launches the capture thread with the collector that walks its live document.
//
// It must outlive the window's capture thread, which queries the document through it:
// create it before the window and let it be destroyed after.
#include <memory>
#include <string>

#include "app/preprocess_hand_off.h"
#include "browser/hidden_browser.h"

namespace qz {

class BrowserHandOff : public PreprocessHandOff {
 public:
  explicit BrowserHandOff(int loadWaitMs = kLoadWaitMs) : loadWaitMs_(loadWaitMs) {}

  void handOff(const std::string& pageAddress, CaptureLauncher& launcher) override {
    launcher_ = &launcher;
    if (!browser_)
      browser_ = std::make_unique<HiddenBrowser>(
          [this](MaterialCollector* collector) { launcher_->launchCapture(collector); },
          loadWaitMs_);
    browser_->handOff(pageAddress, launcher.guiLog());
  }

  HiddenBrowser* browser() const { return browser_.get(); }

 private:
  int loadWaitMs_;
  CaptureLauncher* launcher_ = nullptr;
  std::unique_ptr<HiddenBrowser> browser_;
};

}  // namespace qz
