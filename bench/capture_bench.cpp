// Capture benchmark: serves a generated site on 127.0.0.1, captures it, and prints materials
// per second, time per material, peak memory and the log's cost per line at the start and at
// the end of the capture; then fetches the same site with `wget -p -nv` and prints the ratio
// of the wall times; then captures a page whose one material is 500 MB and prints the peak
// memory of that capture. Each capture runs in a child process so its peak is its own.
//
//   quenzil-bench [--materials N] [--big-megabytes M] [--rounds R]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "capture/capture_job.h"
#include "fetch/page_fetcher.h"
#include "platform/files.h"
#include "settings/settings_store.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
  int materials = 2000;
  int stylesheets = 20;
  int imagesPerStylesheet = 5;
  long bigMegabytes = 500;
  int rounds = 3;
};

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The generated site: a page with N images and a layer of stylesheets naming more images.
void writeSite(const fs::path& root, const Options& options) {
  fs::create_directories(root / "img");
  fs::create_directories(root / "css");
  const std::string picture(400, 'p');
  std::string page = "<html><head>\n";
  for (int s = 0; s < options.stylesheets; ++s) {
    page += "<link rel=\"stylesheet\" href=\"css/s" + std::to_string(s) + ".css\">\n";
    std::string sheet;
    for (int i = 0; i < options.imagesPerStylesheet; ++i) {
      const std::string name = "bg" + std::to_string(s) + "_" + std::to_string(i) + ".png";
      sheet += ".c" + std::to_string(i) + " { background: url(../img/" + name + "); }\n";
      qz::writeFileAtomically((root / "img" / name).string(), picture);
    }
    qz::writeFileAtomically((root / "css" / ("s" + std::to_string(s) + ".css")).string(), sheet);
  }
  page += "</head><body>\n";
  const int pageImages = options.materials - options.stylesheets * (1 + options.imagesPerStylesheet);
  for (int i = 0; i < pageImages; ++i) {
    const std::string name = "i" + std::to_string(i) + ".gif";
    page += "<img src=\"img/" + name + "\" >\n";
    qz::writeFileAtomically((root / "img" / name).string(), picture);
  }
  page += "</body></html>\n";
  qz::writeFileAtomically((root / "index.html").string(), page);
}

class SilentSink : public qz::CaptureSink {
 public:
  void showLogLine(const std::string&, const std::string&, qz::LogColour) override { ++lines; }
  void showMessage(const std::string& text, const std::string&) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  void setDownloadEnabled(bool) override {}
  void showOpenFolderButton(const std::string&) override {}
  long lines = 0;
};

// Microseconds per ProgressLog line, measured over `count` lines appended to `path`.
double logMicrosPerLine(const std::string& path, int count) {
  SilentSink sink;
  qz::ProgressLog log(&sink);
  log.setLogFilePath(path);
  const auto start = Clock::now();
  for (int i = 0; i < count; ++i) log.add("正在下载 img/i" + std::to_string(i) + ".gif", qz::LogColour::Red);
  return secondsSince(start) * 1e6 / count;
}

struct CaptureFigures {
  double seconds = 0;
  long downloads = 0;
  long errors = 0;
  double logStartMicros = 0;
  double logEndMicros = 0;
};

// Runs in the child process: one capture, figures written to `report` as one line.
void captureInChild(const std::string& address, const fs::path& work, const std::string& report) {
  qz::initialiseFetching();
  qz::SettingsStore settings((work / "settings.p").string());
  settings.load();
  qz::Settings options = *settings.current();
  options.saveRoot = (work / "captures").string() + "/";
  qz::createDirectoryTree(options.saveRoot);
  settings.useForThisRun(options);

  CaptureFigures figures;
  figures.logStartMicros = logMicrosPerLine((work / "fresh-log.txt").string(), 500);
  SilentSink sink;
  qz::CaptureJob job;
  job.pageAddress = address;
  const auto start = Clock::now();
  qz::runCapture(job, qz::CaptureServices{settings, sink, nullptr, nullptr});
  figures.seconds = secondsSince(start);
  figures.downloads = static_cast<long>(job.tally.downloadCount);
  figures.errors = static_cast<long>(job.tally.errorCount);
  figures.logEndMicros = logMicrosPerLine(job.logFilePath, 500);
  std::FILE* out = std::fopen(report.c_str(), "w");
  std::fprintf(out, "%f %ld %ld %f %f\n", figures.seconds, figures.downloads, figures.errors,
               figures.logStartMicros, figures.logEndMicros);
  std::fclose(out);
}

// Forks, captures in the child, returns the figures and the child's peak RSS in KiB.
CaptureFigures captureMeasured(const std::string& address, const fs::path& work, long& peakKiB) {
  const std::string report = (work / "report.txt").string();
  std::fflush(nullptr);
  pid_t child = ::fork();
  if (child == 0) {
    captureInChild(address, work, report);
    std::_Exit(0);
  }
  int status = 0;
  rusage usage {};
  ::wait4(child, &status, 0, &usage);
  peakKiB = usage.ru_maxrss;
  CaptureFigures figures;
  if (std::FILE* in = std::fopen(report.c_str(), "r")) {
    if (std::fscanf(in, "%lf %ld %ld %lf %lf", &figures.seconds, &figures.downloads,
                    &figures.errors, &figures.logStartMicros, &figures.logEndMicros) != 5)
      figures = {};
    std::fclose(in);
  }
  return figures;
}

double wgetSeconds(const std::string& url, const fs::path& into, const std::string& extra = {}) {
  if (std::system("command -v wget >/dev/null 2>&1") != 0) return -1;
  const std::string command =
      "wget -p -nv -q " + extra + " -P '" + into.string() + "' '" + url + "' 2>/dev/null";
  const auto start = Clock::now();
  int ignored = std::system(command.c_str());
  (void)ignored;
  return secondsSince(start);
}

struct Server {
  httplib::Server http;
  std::thread thread;
  int port = 0;
  ~Server() {
    http.stop();
    if (thread.joinable()) thread.join();
  }
  void start() {
    port = http.bind_to_any_port("127.0.0.1");
    thread = std::thread([this] { http.listen_after_bind(); });
    while (!http.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
};

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--materials") options.materials = std::atoi(argv[i + 1]);
    if (flag == "--big-megabytes") options.bigMegabytes = std::atol(argv[i + 1]);
    if (flag == "--rounds") options.rounds = std::max(1, std::atoi(argv[i + 1]));
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parseOptions(argc, argv);
  const fs::path work = fs::temp_directory_path() / ("quenzil-bench-" + std::to_string(::getpid()));
  fs::remove_all(work);
  writeSite(work / "site", options);

  Server server;
  server.http.set_mount_point("/", (work / "site").string());
  server.http.Get("/big/page.html", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("<img src=\"big.bin\" >", "text/html");
  });
  const long bigBytes = options.bigMegabytes * 1024 * 1024;
  server.http.Get("/big/big.bin", [bigBytes](const httplib::Request&, httplib::Response& response) {
    response.set_content_provider(
        static_cast<std::size_t>(bigBytes), "application/octet-stream",
        [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
          static const std::string block(1 << 16, 'b');
          (void)offset;
          return sink.write(block.data(), std::min(length, block.size()));
        });
  });
  server.start();
  const std::string base = "http://127.0.0.1:" + std::to_string(server.port);

  // The file system's cost of creating thousands of files varies from run to run, so the
  // captures and wget's fetches alternate over a few rounds and the medians are compared.
  long peakKiB = 0;
  std::vector<CaptureFigures> rounds;
  std::vector<double> wgetRounds;
  for (int round = 0; round < options.rounds; ++round) {
    const fs::path runFolder = work / ("run-site-" + std::to_string(round));
    fs::create_directories(runFolder);
    long roundPeak = 0;
    rounds.push_back(captureMeasured(base + "/index.html", runFolder, roundPeak));
    peakKiB = std::max(peakKiB, roundPeak);
    // One connection per file, as Quenzil's "Connection: close" asks for.
    wgetRounds.push_back(wgetSeconds(base + "/index.html", work / ("wget-" + std::to_string(round)),
                                     "--no-http-keep-alive"));
  }
  std::sort(rounds.begin(), rounds.end(),
            [](const CaptureFigures& a, const CaptureFigures& b) { return a.seconds < b.seconds; });
  std::sort(wgetRounds.begin(), wgetRounds.end());
  const CaptureFigures& site = rounds[rounds.size() / 2];
  const double wget = wgetRounds[wgetRounds.size() / 2];

  const long materials = site.downloads - 1;  // the page itself is not a material
  std::printf("site: %d materials generated, %ld stored, %ld errors (median of %d rounds)\n",
              options.materials, materials, site.errors, options.rounds);
  std::printf("quenzil wall time:      %.3f s\n", site.seconds);
  std::printf("materials per second:   %.1f\n", materials / site.seconds);
  std::printf("time per material:      %.3f ms\n", site.seconds * 1000 / materials);
  std::printf("peak RSS (site):        %.1f MiB\n", peakKiB / 1024.0);
  std::printf("log cost per line:      %.1f us at the start, %.1f us at the end\n",
              site.logStartMicros, site.logEndMicros);
  if (wget > 0) {
    std::printf("wget -p -nv --no-http-keep-alive wall time: %.3f s\n", wget);
    std::printf("quenzil / wget:         %.2fx\n", site.seconds / wget);
    // With kept-alive connections wget stalls on every file against this server (delayed
    // acknowledgements); shown once for the record.
    const double keptAlive = wgetSeconds(base + "/index.html", work / "wget-keep-alive");
    std::printf("wget -p -nv (keep-alive) wall time: %.3f s (quenzil / that: %.2fx)\n",
                keptAlive, site.seconds / keptAlive);
  } else {
    std::printf("wget not found: no comparison\n");
  }

  fs::create_directories(work / "run-big");
  const CaptureFigures big = captureMeasured(base + "/big/page.html", work / "run-big", peakKiB);
  std::printf("big material: %ld MiB in %.2f s, %ld stored, %ld errors, peak RSS %.1f MiB\n",
              options.bigMegabytes, big.seconds, big.downloads - 1, big.errors, peakKiB / 1024.0);

  fs::remove_all(work);
  return 0;
}
