#include "capture/document_collection.h"

#include "platform/text.h"
#include "store/batch_download.h"

namespace qz {
namespace {

struct ElementKind {
  const char* tagName;
  const char* addressProperty;
  const char* countSuffix;
  bool onlyMovieParams;
};

constexpr ElementKind kElementKinds[] = {
    {"a", "href", " 个超链接素材需要被下载", false},
    {"img", "src", " 个图片素材需要被下载", false},
    {"script", "src", " 个JS文件需要被下载", false},
    {"link", "href", " 个CSS文件需要被下载", false},
    {"param", "value", " 个SWF文件需要被下载", true},
};

ResourceList addressesOf(ElementSource* source, const ElementKind& kind) {
  ResourceList list;
  if (!source) return list;
  for (const ElementProperties& element : source->elementsByTagName(kind.tagName)) {
    if (kind.onlyMovieParams && asciiLower(elementProperty(element, "name")) != "movie") continue;
    list.push_back(elementProperty(element, kind.addressProperty));
  }
  return list;
}

}  // namespace

std::string elementProperty(const ElementProperties& element, const std::string& name) {
  auto found = element.find(name);
  return found == element.end() ? std::string() : found->second;
}

void collectFromDocument(ElementSource* source, const std::string& workingAddress,
                         StoreContext& context) {
  for (const ElementKind& kind : kElementKinds) {
    if (context.stopRequested()) return;
    ResourceList list = addressesOf(source, kind);
    context.log.add("一共有 " + std::to_string(list.size()) + kind.countSuffix, LogColour::Black);
    downloadBatch(context, list, workingAddress);
  }
}

void DocumentCollector::collect(const std::string&, const std::string& workingAddress,
                                StoreContext& context) {
  collectFromDocument(source_, workingAddress, context);
}

}  // namespace qz
