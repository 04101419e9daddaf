#include "capture/capture_job.h"

#include <memory>

#include "address/address_tools.h"
#include "capture/document_collection.h"
#include "capture/pattern_collection.h"
#include "capture/reanalysis.h"
#include "fetch/page_fetcher.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/settings_store.h"
#include "store/page_save.h"

namespace qz {
namespace {

constexpr const char* kFolderFailureBox = "无法创建保存目录!";
constexpr const char* kFolderFailureCaption = "信息：";
constexpr const char* kFolderFailureLine = "无法创建保存目录!原因:目录编号超过了100、或磁盘操作权限不够!";

void writeSummary(const CaptureTally& tally, LogWriter& log) {
  log.add("文件总大小:" + formatSize(tally.totalBytes) + ",下载数:" +
              std::to_string(tally.downloadCount) + ",错误数:" + std::to_string(tally.errorCount),
          LogColour::Red);
  if (!tally.savedPagePath.empty())
    log.add("您要求下载的网页已被保存在 " + tally.savedPagePath, LogColour::Red);
  log.add("所有任务完成!", LogColour::Red);
}

// The collector of the mode in force when the materials are collected.
MaterialCollector& chooseCollector(const CaptureServices& services, PatternCollector& pattern,
                                   DocumentCollector& noDocument) {
  if (!services.settings.current()->preprocessOption) return pattern;
  return services.documentCollector ? *services.documentCollector : noDocument;
}

}  // namespace

bool createCaptureFolder(CaptureJob& job, SettingsStore& settings, const std::string& folderStem) {
  for (int n = 1; n <= kMaxCaptureFolders; ++n) {
    const std::string root = withTrailingSeparator(settings.current()->saveRoot);
    settings.setSaveRoot(root);
    const std::string folder = root + folderStem + "_" + std::to_string(n);
    if (!createSingleDirectory(folder)) continue;
    job.captureFolder = folder + "/";
    job.lastCaptureFolder = job.captureFolder;
    job.logFilePath = job.captureFolder + kLogFileName;
    job.fileListPath = job.captureFolder + kFileListName;
    return true;
  }
  return false;
}

bool runCapture(CaptureJob& job, const CaptureServices& services) {
  ProgressLog log(&services.sink);
  services.sink.setDownloadEnabled(false);
  job.tally.downloadCount = job.tally.errorCount = job.tally.totalBytes = 0;
  job.tally.savedPagePath.clear();

  std::string workingAddress = job.pageAddress;
  ensureScheme(workingAddress);
  const std::string folderStem = replaceText(siteFolderStem(workingAddress), ":", "_");
  if (!createCaptureFolder(job, services.settings, folderStem)) {
    services.sink.showMessage(kFolderFailureBox, kFolderFailureCaption);
    log.add(kFolderFailureLine, LogColour::Black);
    return false;
  }
  log.setLogFilePath(job.logFilePath);
  log.add("创建了本地保存目录  " + job.captureFolder, LogColour::Red);
  services.sink.showOpenFolderButton(job.lastCaptureFolder);

  log.add("开始下载页面源代码 ", LogColour::Black);
  const PageFetcher fetcher(services.stop);
  const FetchResult page = fetcher.fetch(workingAddress);
  const std::string pageText = textUpToZero(page.body);

  StoreContext context{job.captureFolder, job.fileListPath, job.tally, log,
                       fetcher,           services.settings, services.stop};
  savePage(context, workingAddress, page);
  job.tally.stylesheetList.clear();
  job.tally.scriptList.clear();

  PatternCollector pattern;
  DocumentCollector noDocument(nullptr);
  chooseCollector(services, pattern, noDocument).collect(pageText, workingAddress, context);

  reanalyseStylesheets(context);
  reanalyseScripts(context, workingAddress);
  // A stop request (the window closing) abandons the capture without its summary.
  if (context.stopRequested()) return false;
  writeSummary(job.tally, log);
  services.sink.showOpenFolderButton(job.lastCaptureFolder);
  return true;
}

}  // namespace qz
