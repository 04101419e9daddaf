// quenzil-capture: the capture without a window. It reads the same settings file as the
// desktop program; flags override it for this run only.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>

#include "capture/capture_job.h"
#include "cli/command_line.h"
#include "cli/terminal_sink.h"
#include "fetch/page_fetcher.h"
#include "platform/files.h"
#include "settings/settings_store.h"

#ifdef QUENZIL_HAVE_BROWSER
#include "browser/headless_capture.h"
#endif

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int) { stopRequested = true; }

qz::Settings settingsForThisRun(const qz::CommandLine& line, qz::Settings settings) {
  if (line.saveRoot) {
    settings.saveRoot = *line.saveRoot;
    qz::createDirectoryTree(settings.saveRoot);
  }
  if (line.skipSuffixes) settings.skipSuffixList = "|" + *line.skipSuffixes + "|";
  if (line.noSkip) settings.skipSuffixList = "|url|";
  if (line.noLocalView) settings.localViewOption = false;
  if (line.preprocess) settings.preprocessOption = true;
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const qz::CommandLine line = qz::parseCommandLine(argc, argv);
  if (line.help) {
    std::fputs(qz::usageText(), stdout);
    return 0;
  }
  if (!line.error.empty()) {
    std::fprintf(stderr, "quenzil-capture: %s\n\n%s", line.error.c_str(), qz::usageText());
    return 2;
  }

  qz::initialiseFetching();
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);

  qz::SettingsStore settings(qz::resolveSettingsFile());
  settings.load();
  settings.useForThisRun(settingsForThisRun(line, *settings.current()));

  qz::TerminalSink sink(stdout, stderr, ::isatty(STDOUT_FILENO) == 1);
  qz::CaptureJob job;
  job.pageAddress = line.address;
  qz::CaptureServices services{settings, sink, &stopRequested, nullptr};

  bool summaryWritten = false;
  if (line.preprocess) {
#ifdef QUENZIL_HAVE_BROWSER
    summaryWritten = qz::captureWithHiddenBrowser(argc, argv, job, services);
#else
    std::fputs("quenzil-capture: this build has no browser engine; --preprocess is unavailable\n",
               stderr);
    return 2;
#endif
  } else {
    summaryWritten = qz::runCapture(job, services);
  }
  return summaryWritten ? 0 : 1;
}
