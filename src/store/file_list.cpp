#include "store/file_list.h"

#include "platform/files.h"

namespace qz {

void appendToFileList(const StoreContext& context, const std::string& address) {
  appendToFile(context.fileListPath, address + "\r\n");
}

void recordStoredFile(StoreContext& context, const std::string& address, const std::string& path,
                      std::int64_t bytes) {
  context.tally.totalBytes += bytes;
  context.log.add("下载 " + address + " 成功", LogColour::Black);
  ++context.tally.downloadCount;
  context.log.add("保存为 " + path, LogColour::Black);
  appendToFileList(context, address);
}

}  // namespace qz
