#pragma once
// What the store tests share: a log that records its lines, and one capture's worth of store
// context (a fresh capture folder, counters, settings from a scratch settings file, a fetcher
// watching a stop flag).
#include <atomic>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "fetch/page_fetcher.h"
#include "platform/log_line.h"
#include "settings/settings_store.h"
#include "store/capture_record.h"
#include "support/test_environment.h"

namespace qz::test {

struct LoggedLine {
  std::string message;
  LogColour colour;
  bool operator==(const LoggedLine&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const LoggedLine& line) {
  return out << static_cast<int>(line.colour) << ":" << line.message;
}

class RecordingLog : public LogWriter {
 public:
  void add(const std::string& message, LogColour colour) override {
    lines.push_back({message, colour});
  }
  std::vector<LoggedLine> lines;
};

struct CaptureBench {
  explicit CaptureBench(std::string captureFolder = makeScratchFolder("capture"))
      : folder(std::move(captureFolder)),
        settings(makeScratchFolder("settings") + "Pirnexsoft.p") {
    settings.load();
  }

  void setOption(const char* key, bool value) {
    settings.write(key, value);
    settings.load();
  }

  std::string fileList() const;
  // Names below the capture folder, relative, "/"-separated, sorted (directories end in "/").
  std::vector<std::string> contents() const;

  std::string folder;
  SettingsStore settings;
  CaptureTally tally;
  RecordingLog log;
  std::atomic<bool> stop{false};
  PageFetcher fetcher{&stop};
  StoreContext context{folder, folder + "下载文件列表.txt", tally, log, fetcher, settings, &stop};
};

std::string fileText(const std::string& path);

}  // namespace qz::test
