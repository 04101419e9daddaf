#include "platform/places.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace qz {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string slashed(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

std::string homeDirectory() {
  std::string home = environmentValue("HOME");
  if (home.empty()) {
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) home = entry->pw_dir;
  }
  return slashed(home.empty() ? "/" : home);
}

std::string dataHomeDirectory() {
  std::string dataHome = environmentValue("XDG_DATA_HOME");
  // The base directory rules ask to ignore a relative value.
  if (dataHome.empty() || dataHome.front() != '/') return homeDirectory() + ".local/share/";
  return slashed(dataHome);
}

std::string userTemporaryFolder() {
  std::string base = environmentValue("TMPDIR");
  if (base.empty()) base = "/tmp";
  return slashed(base) + "Pirnex-" + std::to_string(::getuid()) + "/";
}

}  // namespace qz
