#pragma once
#include <optional>
#include <string>

namespace qz::test {

// Points HOME, XDG_DATA_HOME and TMPDIR at folders below one fresh temporary folder.
void isolateHomeForTests();
void removeIsolatedHome();

// A fresh, empty folder below the isolated home, ending in "/".
std::string makeScratchFolder(const std::string& name = "scratch");

// Sets (or, with nullopt, unsets) one environment variable for the life of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::optional<std::string>& value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace qz::test
