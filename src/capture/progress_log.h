#pragma once
// The capture's progress log: one time-stamped, coloured line per call, appended to the
// capture's log file ("软件日志.txt") and handed to whatever shows lines (log box, terminal).
#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>

#include "platform/log_line.h"

namespace qz {

inline constexpr const char* kLogFileName = "软件日志.txt";

// "【2024/03/07 09:05:03】" for the given local time.
std::string timeStampOf(const std::tm& localTime);
// The stamp of the local time now.
std::string timeStamp();

// "999 字节", "1.5 KB", "4883 KB": bytes below 1000 as they are, else kibibytes rounded half
// away from zero to one decimal (none above 1000 KB), without trailing zeros.
std::string formatSize(std::int64_t bytes);

// Shows log lines: the window's log box, the terminal, a test's recorder.
class LogSink {
 public:
  virtual ~LogSink() = default;
  // Returns once the line is shown, so lines appear in the order of the calls.
  virtual void showLogLine(const std::string& stamp, const std::string& message,
                           LogColour colour) = 0;
};

class ProgressLog : public LogWriter {
 public:
  explicit ProgressLog(LogSink* sink = nullptr) : sink_(sink) {}

  // Empty until the capture folder exists; lines before that reach only the sink.
  void setLogFilePath(const std::string& path);
  std::string logFilePath() const;

  // One stamp per call. The file part (stamp, message, CR LF) is appended with open, append,
  // close, and skipped silently when the path is empty or unwritable; then the sink shows it.
  void add(const std::string& message, LogColour colour = LogColour::Black) override;

 private:
  LogSink* sink_;
  mutable std::mutex mutex_;
  std::string logFilePath_;
};

}  // namespace qz
