#include "store/page_save.h"

#include "platform/files.h"
#include "platform/text.h"
#include "settings/settings_store.h"
#include "store/file_list.h"
#include "store/local_paths.h"
#include "store/stored_file.h"

namespace qz {
namespace {

void reportFailure(StoreContext& context, const std::string& address) {
  context.log.add("下载 " + address + " 失败", LogColour::Red);
  ++context.tally.errorCount;
}

// The stored copy only: the capture goes on scanning the text as it was fetched.
std::string storedPageText(const StoreContext& context, const FetchResult& page) {
  std::string text = normaliseLineBreaks(textUpToZero(page.body));
  if (context.settings.current()->localViewOption) text = replaceText(text, "\"/", "\"");
  return text;
}

std::string preparePageDirectory(StoreContext& context, const std::string& address) {
  const std::string directory = localDirectoryOf(address, context.captureFolder);
  // Other codes go unreported here: a directory that is missing makes the write fail, and
  // that failure is reported.
  if (createDirectoryTree(directory) == kDirectoryCreated)
    context.log.add("创建目录成功 " + directory, LogColour::Black);
  return directory;
}

void recordStoredPage(StoreContext& context, const std::string& address,
                      const std::string& path, std::int64_t bytes) {
  context.tally.savedPagePath = path;
  recordStoredFile(context, address, path, bytes);
}

}  // namespace

void savePage(StoreContext& context, const std::string& pageAddress, const FetchResult& page) {
  context.log.add("正在下载 " + pageAddress, LogColour::Red);
  std::string address = pageAddress;
  std::string name = pageFileName(address);
  if (name.empty()) name = "index.htm";
  context.log.add("保存文件名 " + name, LogColour::Black);

  const std::string path = localFilePath(preparePageDirectory(context, address), name);
  if (!liesInsideFolder(path, context.captureFolder)) return reportFailure(context, address);
  if (pathExists(path)) {
    context.log.add(path + " 已存在", LogColour::Black);
    return;
  }
  if (!page.received) return reportFailure(context, address);

  const StoredFile stored = storeBytes(path, storedPageText(context, page));
  switch (stored.outcome) {
    case StoreOutcome::Written: return recordStoredPage(context, address, path, stored.bytes);
    case StoreOutcome::NameTaken: return context.log.add(path + " 已存在", LogColour::Black);
    case StoreOutcome::Failed: return reportFailure(context, address);
  }
}

}  // namespace qz
