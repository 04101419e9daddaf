#include "app/capture_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>

namespace qz {

CaptureThread::~CaptureThread() { stopAndWaitServingEvents(); }

bool CaptureThread::start(std::function<void()> body, std::function<void()> whenEnded) {
  if (started()) return false;
  thread_ = std::thread([this, body = std::move(body), whenEnded = std::move(whenEnded)] {
    body();
    ended_ = true;
    if (whenEnded) whenEnded();
  });
  return true;
}

void CaptureThread::stopAndWaitServingEvents() {
  if (!started()) return;
  requestStop();
  while (!ended_) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  thread_.join();
}

}  // namespace qz
