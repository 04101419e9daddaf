#include "support/test_environment.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace qz::test {
namespace {

std::filesystem::path& isolatedRoot() {
  static std::filesystem::path root;
  return root;
}

}  // namespace

void isolateHomeForTests() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quenzil-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  isolatedRoot() = pattern;
  for (const char* sub : {"home", "data", "tmp"})
    std::filesystem::create_directories(isolatedRoot() / sub);
  ::setenv("HOME", (isolatedRoot() / "home").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (isolatedRoot() / "data").c_str(), 1);
  ::setenv("TMPDIR", (isolatedRoot() / "tmp").c_str(), 1);
}

void removeIsolatedHome() {
  std::error_code ignored;
  if (!isolatedRoot().empty()) std::filesystem::remove_all(isolatedRoot(), ignored);
}

std::string makeScratchFolder(const std::string& name) {
  static int counter = 0;
  std::filesystem::path folder =
      isolatedRoot() / "scratch" / (name + "-" + std::to_string(++counter));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string() + "/";
}

ScopedVariable::ScopedVariable(const char* name, const std::optional<std::string>& value)
    : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value) ::setenv(name, value->c_str(), 1);
  else ::unsetenv(name);
}

ScopedVariable::~ScopedVariable() {
  if (old_) ::setenv(name_, old_->c_str(), 1);
  else ::unsetenv(name_);
}

}  // namespace qz::test
