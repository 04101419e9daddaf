#pragma once
// The one capture thread of a run of the program, and the stop flag it watches.
#include <atomic>
#include <functional>
#include <thread>

namespace qz {

class CaptureThread {
 public:
  CaptureThread() = default;
  // The thread must have ended (see waitWhileServingEvents); a running one is stopped first.
  ~CaptureThread();
  CaptureThread(const CaptureThread&) = delete;
  CaptureThread& operator=(const CaptureThread&) = delete;

  // Starts `body` once; false when a capture was started before in this run.
  bool start(std::function<void()> body, std::function<void()> whenEnded);

  bool started() const { return thread_.joinable(); }
  bool running() const { return started() && !ended_; }
  const std::atomic<bool>& stopFlag() const { return stop_; }
  void requestStop() { stop_ = true; }

  // Asks the capture to stop and keeps serving the GUI thread's events until it has ended:
  // the capture may be waiting for the GUI thread to show a line.
  void stopAndWaitServingEvents();

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> ended_{false};
};

}  // namespace qz
