#pragma once
// The seam for preprocessing mode. With the option on, pressing download does not start the
// capture thread: the window hands the typed address to a PreprocessHandOff, which opens the
// page in its hidden browser and, once the page has loaded, starts the capture itself through
// the CaptureLauncher, giving it the collector that walks the loaded document.
#include <string>


namespace qz {

class LogWriter;
class MaterialCollector;

// What the main window offers the hand-off. Both calls are made on the GUI thread.
class CaptureLauncher {
 public:
  virtual ~CaptureLauncher() = default;
  // Lines written here on the GUI thread appear in the log box at once, and only there: no
  // capture folder (and so no log file) exists yet. It lives as long as the window.
  virtual LogWriter& guiLog() = 0;
  // Starts the capture thread with `documentCollector` for the materials; once per run.
  virtual void launchCapture(MaterialCollector* documentCollector) = 0;
};

class PreprocessHandOff {
 public:
  virtual ~PreprocessHandOff() = default;
  // Called on the GUI thread in place of the thread start, after the address was remembered
  // and the download button disabled. `pageAddress` is the text exactly as typed.
  virtual void handOff(const std::string& pageAddress, CaptureLauncher& launcher) = 0;
};

}  // namespace qz
