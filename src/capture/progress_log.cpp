#include "capture/progress_log.h"

#include <cmath>
#include <cstdio>

#include "platform/files.h"
#include "platform/text.h"

namespace qz {

std::string timeStampOf(const std::tm& t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "【%d/%02d/%02d %02d:%02d:%02d】", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return buffer;
}

std::string timeStamp() {
  std::time_t now = std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  return timeStampOf(local);
}

std::string formatSize(std::int64_t bytes) {
  if (bytes < 1000) return std::to_string(bytes) + " 字节";
  // bytes / 1024 is exact in a double (a power of two), and so are its tenths' rounding
  // inputs for any count a disk holds, so std::round rounds the true value half away from zero.
  const double kib = static_cast<double>(bytes) / 1024.0;
  if (std::trunc(kib) > 1000) return std::to_string(static_cast<std::int64_t>(std::round(kib))) + " KB";
  const auto tenths = static_cast<std::int64_t>(std::round(kib * 10));
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
  return text + " KB";
}

void ProgressLog::setLogFilePath(const std::string& path) {
  std::lock_guard lock(mutex_);
  logFilePath_ = path;
}

std::string ProgressLog::logFilePath() const {
  std::lock_guard lock(mutex_);
  return logFilePath_;
}

void ProgressLog::add(const std::string& message, LogColour colour) {
  const std::string stamp = timeStamp();
  const std::string text = textUpToZero(message);
  const std::string path = logFilePath();
  if (!path.empty()) appendToFile(path, stamp + text + "\r\n");
  if (sink_) sink_->showLogLine(stamp, text, colour);
}

}  // namespace qz
