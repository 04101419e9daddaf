#pragma once
// A capture sink for tests: records every log line, message box and control update.
#include <mutex>
#include <string>
#include <vector>

#include "capture/capture_sink.h"

namespace qz::test {

struct RecordedLine {
  std::string stamp;
  std::string message;
  LogColour colour;
};

class RecordingSink : public CaptureSink {
 public:
  void showLogLine(const std::string& stamp, const std::string& message,
                   LogColour colour) override {
    std::lock_guard lock(mutex_);
    lines_.push_back({stamp, message, colour});
  }
  void showMessage(const std::string& text, const std::string& caption) override {
    std::lock_guard lock(mutex_);
    messages_.push_back(caption + "|" + text);
  }
  void setDownloadEnabled(bool enabled) override {
    std::lock_guard lock(mutex_);
    downloadEnabled_ = enabled;
  }
  void showOpenFolderButton(const std::string& folder) override {
    std::lock_guard lock(mutex_);
    openFolder_ = folder;
  }

  std::vector<RecordedLine> lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  std::vector<std::string> messagesOnly() const {
    std::vector<std::string> result;
    for (const RecordedLine& line : lines()) result.push_back(line.message);
    return result;
  }
  std::vector<std::string> messageBoxes() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  bool downloadEnabled() const {
    std::lock_guard lock(mutex_);
    return downloadEnabled_;
  }
  std::string openFolder() const {
    std::lock_guard lock(mutex_);
    return openFolder_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<RecordedLine> lines_;
  std::vector<std::string> messages_;
  bool downloadEnabled_ = true;
  std::string openFolder_;
};

}  // namespace qz::test
