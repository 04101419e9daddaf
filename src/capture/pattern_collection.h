#pragma once
// Pattern mode, the default: the page source is searched for the values of src, href, value
// and background attributes, and everything found goes to one batch download.
#include <string>

#include "capture/capture_job.h"

namespace qz {

void collectByPattern(const std::string& pageText, const std::string& workingAddress,
                      StoreContext& context);

class PatternCollector : public MaterialCollector {
 public:
  void collect(const std::string& pageText, const std::string& workingAddress,
               StoreContext& context) override {
    collectByPattern(pageText, workingAddress, context);
  }
};

}  // namespace qz
