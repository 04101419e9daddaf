#pragma once
// Preprocessing mode collects the page's materials from the live document of a browser
// instead of searching the source text: five element kinds, in a fixed order, each with its
// count line and one batch download.
#include <map>
#include <string>
#include <vector>

#include "capture/capture_job.h"

namespace qz {

// One element's properties ("href", "src", "name", "value") as the document returned them;
// a property the element does not have is missing or empty.
using ElementProperties = std::map<std::string, std::string>;

// The named property of an element, or the empty text when it has none.
std::string elementProperty(const ElementProperties& element, const std::string& name);

// Where the elements come from: the browser's document, reached from the capture thread.
// A document that cannot be reached answers every query with no elements.
class ElementSource {
 public:
  virtual ~ElementSource() = default;
  virtual std::vector<ElementProperties> elementsByTagName(const std::string& tagName) = 0;
};

// Walks "a"/href, "img"/src, "script"/src, "link"/href and "param" named "movie"/value.
// `source` may be null (no document): every kind then counts 0 and the capture goes on.
void collectFromDocument(ElementSource* source, const std::string& workingAddress,
                         StoreContext& context);

class DocumentCollector : public MaterialCollector {
 public:
  explicit DocumentCollector(ElementSource* source) : source_(source) {}
  void collect(const std::string& pageText, const std::string& workingAddress,
               StoreContext& context) override;

 private:
  ElementSource* source_;
};

}  // namespace qz
