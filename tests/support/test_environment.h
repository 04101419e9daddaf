#pragma once
#include <string>

namespace qz::test {

// Points HOME, XDG_DATA_HOME and TMPDIR at folders below one fresh temporary folder.
void isolateHomeForTests();
void removeIsolatedHome();

// A fresh, empty folder below the isolated home, ending in "/".
std::string makeScratchFolder(const std::string& name = "scratch");

}  // namespace qz::test
