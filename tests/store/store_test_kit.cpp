#include "store_test_kit.h"

#include <algorithm>

#include "platform/files.h"

namespace qz::test {

std::string CaptureBench::fileList() const { return readWholeFile(context.fileListPath); }

std::vector<std::string> CaptureBench::contents() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    std::string name = std::filesystem::relative(entry.path(), folder).generic_string();
    names.push_back(entry.is_directory() ? name + "/" : name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string fileText(const std::string& path) { return readWholeFile(path); }

}  // namespace qz::test
