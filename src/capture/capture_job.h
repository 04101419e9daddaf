#pragma once
// The capture job: one entered address becomes a new numbered folder holding the page, its
// materials, the log file and the file list. runCapture is the whole body of the capture
// thread; every front end (window, command line, tests) calls it the same way.
#include <atomic>
#include <string>

#include "capture/capture_sink.h"
#include "store/capture_record.h"

namespace qz {

class SettingsStore;

inline constexpr const char* kFileListName = "下载文件列表.txt";
inline constexpr int kMaxCaptureFolders = 100;

struct CaptureJob {
  std::string pageAddress;        // exactly as typed
  std::string captureFolder;      // SaveRoot + stem + "_" + n + "/"
  std::string lastCaptureFolder;  // what the open-folder button opens
  std::string logFilePath;
  std::string fileListPath;
  CaptureTally tally;
};

// Collects the page's materials and runs their batch downloads: by pattern over the page
// text, or from the live document of a browser (preprocessing mode).
class MaterialCollector {
 public:
  virtual ~MaterialCollector() = default;
  virtual void collect(const std::string& pageText, const std::string& workingAddress,
                       StoreContext& context) = 0;
};

struct CaptureServices {
  SettingsStore& settings;
  CaptureSink& sink;
  const std::atomic<bool>* stop = nullptr;  // set when the window closes during a capture
  // Used when the settings' preprocessOption is on; when null, that mode finds no document
  // and collects nothing from it.
  MaterialCollector* documentCollector = nullptr;
};

// Creates "SaveRoot/stem_n" for the first n in 1..100 whose single-level creation succeeds.
// The SaveRoot gets a trailing "/" that stays in the settings for the rest of the run.
// On success fills captureFolder, lastCaptureFolder, logFilePath and fileListPath.
bool createCaptureFolder(CaptureJob& job, SettingsStore& settings, const std::string& folderStem);

// The whole capture. Returns true when the summary was written, false when no capture folder
// could be made (the message box was shown and answered).
bool runCapture(CaptureJob& job, const CaptureServices& services);

}  // namespace qz
