#pragma once
// Shows a capture on a terminal: each log line as it is added (the log file's form), coloured
// with ANSI escapes when standard output is a terminal; message boxes go to standard error.
#include <cstdio>

#include "capture/capture_sink.h"

namespace qz {

class TerminalSink : public CaptureSink {
 public:
  TerminalSink(std::FILE* out, std::FILE* err, bool coloured);

  void showLogLine(const std::string& stamp, const std::string& message,
                   LogColour colour) override;
  void showMessage(const std::string& text, const std::string& caption) override;
  void setDownloadEnabled(bool) override {}
  void showOpenFolderButton(const std::string&) override {}

 private:
  std::FILE* out_;
  std::FILE* err_;
  bool coloured_;
};

}  // namespace qz
