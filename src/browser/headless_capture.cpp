#include "browser/headless_capture.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTimer>
#include <cstdlib>
#include <thread>

#include "browser/hidden_browser.h"

namespace qz {
namespace {

// How often the wait for the page looks at the stop flag (Ctrl-C on the command line).
constexpr int kStopCheckMs = 100;

bool stopRequested(const CaptureServices& services) {
  return services.stop && services.stop->load();
}

}  // namespace

void prepareBrowserEnvironment() {
  if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The engine reports its graphics set-up on every start; a never-shown page has none to
  // report. QT_LOGGING_RULES still turns it back on.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

void prepareHeadlessEnvironment() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  prepareBrowserEnvironment();
}

bool captureInPreprocessingMode(CaptureJob& job, const CaptureServices& services,
                                int loadWaitMs) {
  QEventLoop loop;
  std::thread captureThread;
  bool summaryWritten = false;

  HiddenBrowser browser(
      [&](MaterialCollector* documentCollector) {
        captureThread = std::thread([&, documentCollector] {
          CaptureServices captureServices = services;
          captureServices.documentCollector = documentCollector;
          summaryWritten = runCapture(job, captureServices);
          QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
      },
      loadWaitMs);

  // Once the capture runs, the stop flag is its own business; before, nothing else would
  // notice it.
  QTimer stopCheck;
  stopCheck.callOnTimeout([&] {
    if (stopRequested(services) && browser.controller().state() == PreprocessState::Waiting)
      loop.quit();
  });
  stopCheck.start(kStopCheckMs);

  // Lines before the capture folder exists reach only the sink, as in the window.
  ProgressLog handOffLog(&services.sink);
  browser.handOff(job.pageAddress, handOffLog);
  loop.exec();
  if (captureThread.joinable()) captureThread.join();
  return summaryWritten;
}

bool captureWithHiddenBrowser(int argc, char** argv, CaptureJob& job,
                              const CaptureServices& services) {
  prepareHeadlessEnvironment();
  QGuiApplication application(argc, argv);
  return captureInPreprocessingMode(job, services);
}

}  // namespace qz
