#pragma once
// Keeping the GUI thread's event loop running while a test waits: the hidden page loads and
// answers queries only while events are served.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <atomic>
#include <optional>
#include <thread>
#include <utility>

namespace qz::test {

// Generous: a loaded machine may take long, and a test only ever waits for something that
// must happen.
inline constexpr int kPatienceMs = 60000;

// Serves events until `done()` holds or `limitMs` passed; returns whether `done()` held.
template <typename Condition>
bool serveEventsUntil(Condition done, int limitMs = kPatienceMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// Serves events for `periodMs`, for asserting that something does not happen.
inline void serveEventsFor(int periodMs) {
  serveEventsUntil([] { return false; }, periodMs);
}

// Runs `work` on a thread of its own, as the capture thread would, while this (the GUI)
// thread keeps serving events; returns its result.
template <typename Work>
auto onCaptureThread(Work work) {
  std::optional<decltype(work())> result;
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    result.emplace(work());
    finished = true;
  });
  serveEventsUntil([&] { return finished.load(); });
  worker.join();
  return std::move(*result);
}

}  // namespace qz::test
