#pragma once
// Everything preprocessing mode needs for one run of a program, made once on the GUI thread:
// the controller with its hidden page and load-wait timer, the document over that page, and
// the collector the capture thread walks it with.
//
// The desktop window's download handler, with preprocessOption on, calls handOff instead of
// starting the capture thread; when the page has settled the launch function is called on the
// GUI thread with the collector, and starts the capture thread with it as
// CaptureServices::documentCollector. The GUI thread keeps serving events during the capture,
// which is where the document queries are answered.
#include <functional>
#include <string>

#include "browser/browser_document.h"
#include "browser/preprocess_controller.h"
#include "capture/document_collection.h"

namespace qz {

class HiddenBrowser {
 public:
  using Launch = std::function<void(MaterialCollector* documentCollector)>;

  explicit HiddenBrowser(Launch launch, int loadWaitMs = kLoadWaitMs)
      : controller_([this] { launch_(&collector_); }, loadWaitMs), launch_(std::move(launch)) {
    document_.attachToWindow(&controller_);
  }
  HiddenBrowser(const HiddenBrowser&) = delete;
  HiddenBrowser& operator=(const HiddenBrowser&) = delete;

  // See PreprocessController::handOff: `log` is written on the GUI thread and must show lines
  // directly.
  void handOff(const std::string& address, LogWriter& log) { controller_.handOff(address, log); }

  PreprocessController& controller() { return controller_; }

 private:
  BrowserDocument document_;
  DocumentCollector collector_{&document_};
  PreprocessController controller_;  // after the document: it goes first, with its page
  Launch launch_;
};

}  // namespace qz
