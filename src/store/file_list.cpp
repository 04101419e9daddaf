#include "store/file_list.h"

#include "platform/files.h"

namespace qz {

void appendToFileList(const StoreContext& context, const std::string& address) {
  appendToFile(context.fileListPath, address + "\r\n");
}

}  // namespace qz
