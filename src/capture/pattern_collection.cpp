#include "capture/pattern_collection.h"

#include "links/link_extractor.h"
#include "store/batch_download.h"

namespace qz {

void collectByPattern(const std::string& pageText, const std::string& workingAddress,
                      StoreContext& context) {
  ResourceList list;
  LinkExtractor::extract(pageText, kAttributePattern, 2, list, "\"", "'");
  context.log.add("一共有 " + std::to_string(list.size()) + " 个文件需要被下载", LogColour::Black);
  downloadBatch(context, list, workingAddress);
}

}  // namespace qz
