#pragma once
// Preprocessing mode without a window: the command line's --preprocess, and the tests.
#include "capture/capture_job.h"
#include "browser/preprocess_controller.h"

namespace qz {

// Call before the Qt application object is created. When the process runs as root, turns
// Chromium's sandbox off (it refuses to start as root otherwise); gives Chromium
// "--disable-gpu" unless flags were set (the page is never shown, so nothing is drawn); and
// shares OpenGL contexts, which WebEngine wants decided before the application exists; quiets
// the engine's report of its graphics set-up.
// Variables already set are left as they are.
void prepareBrowserEnvironment();
// prepareBrowserEnvironment, and Qt's offscreen platform unless another one was chosen.
void prepareHeadlessEnvironment();

// The whole preprocessing capture on the calling thread, which must be the thread of an
// existing Qt GUI application and is kept serving events until the capture has ended: the
// hand-off (logged to services.sink), the load wait, then runCapture on a worker thread with
// a DocumentCollector over the hidden page. Ends early, without a capture, when services.stop
// is set while the page is still awaited. Returns what runCapture returned (true when the
// summary was written); false when no capture ran.
bool captureInPreprocessingMode(CaptureJob& job, const CaptureServices& services,
                                int loadWaitMs = kLoadWaitMs);

// For the command line: prepares the environment, creates the Qt application from the
// program's arguments, runs captureInPreprocessingMode with the 5000 ms wait and returns its
// result.
bool captureWithHiddenBrowser(int argc, char** argv, CaptureJob& job,
                              const CaptureServices& services);

}  // namespace qz
