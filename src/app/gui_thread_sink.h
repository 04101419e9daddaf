#pragma once
// The capture thread's way into the window. Every call is carried over to the GUI thread and
// waited for (a blocking queued call), so each line is on screen, each control updated and
// each message box answered before the capture goes on, and lines keep the order of the calls.
#include <string>

#include "capture/capture_sink.h"

class QObject;

namespace qz {

// What a capture may touch in the window. Called on the GUI thread only.
class CaptureView {
 public:
  virtual ~CaptureView() = default;
  virtual void appendLogLine(const std::string& stamp, const std::string& message,
                             LogColour colour) = 0;
  virtual void showCaptureMessage(const std::string& text, const std::string& caption) = 0;
  virtual void setDownloadEnabled(bool enabled) = 0;
  virtual void showOpenFolderButton(const std::string& folder) = 0;
};

class GuiThreadSink : public CaptureSink {
 public:
  // `guiObject` lives on the GUI thread (the window); `view` is what the calls reach there.
  GuiThreadSink(QObject& guiObject, CaptureView& view) : guiObject_(guiObject), view_(view) {}

  void showLogLine(const std::string& stamp, const std::string& message,
                   LogColour colour) override;
  void showMessage(const std::string& text, const std::string& caption) override;
  void setDownloadEnabled(bool enabled) override;
  void showOpenFolderButton(const std::string& folder) override;

 private:
  template <typename Action>
  void onGuiThread(Action action);

  QObject& guiObject_;
  CaptureView& view_;
};

}  // namespace qz
