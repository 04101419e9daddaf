#pragma once
// The one interface through which a capture reaches its front end (the window, the command
// line, a test): log lines, the blocking message box, and the two control updates.
#include <string>

#include "capture/progress_log.h"

namespace qz {

class CaptureSink : public LogSink {
 public:
  // A modal information box; returns when the user has closed it.
  virtual void showMessage(const std::string& text, const std::string& caption) = 0;
  virtual void setDownloadEnabled(bool enabled) = 0;
  // The capture folder exists: show the open-folder button (it opens `folder`), hide the hint.
  virtual void showOpenFolderButton(const std::string& folder) = 0;
};

}  // namespace qz
