#pragma once
// What one capture's store stages share: where files go, the counters, the lists of
// stylesheets and scripts met, and the services they report and fetch through. The capture
// job owns the record and hands it down; nothing here calls back up into the job.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/log_line.h"

namespace qz {

class PageFetcher;
class SettingsStore;

struct CaptureTally {
  std::int64_t downloadCount = 0;
  std::int64_t errorCount = 0;
  std::int64_t totalBytes = 0;
  std::string savedPagePath;               // set when the page itself was written
  std::vector<std::string> stylesheetList;  // absolute addresses with suffix "css"
  std::vector<std::string> scriptList;      // absolute addresses with suffix "js"
};

struct StoreContext {
  std::string captureFolder;  // absolute, ends in "/"
  std::string fileListPath;   // captureFolder + "下载文件列表.txt"
  CaptureTally& tally;
  LogWriter& log;
  const PageFetcher& fetcher;
  const SettingsStore& settings;  // read anew at every entry (skip list, local view)
  const std::atomic<bool>* stop = nullptr;  // true: leave the batch before the next entry

  bool stopRequested() const { return stop && stop->load(); }
};

}  // namespace qz
