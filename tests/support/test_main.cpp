// The main of every test program: no test may touch the real home, so HOME, XDG_DATA_HOME
// and TMPDIR point at a fresh temporary folder for the whole run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_environment.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  qz::test::isolateHomeForTests();
  int result = RUN_ALL_TESTS();
  qz::test::removeIsolatedHome();
  return result;
}
