// The main of the browser tests: the home is isolated first (the engine may write below it),
// then the engine's environment is prepared and the one Qt application of the run created.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "browser/headless_capture.h"
#include "support/test_environment.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  qz::test::isolateHomeForTests();
  qz::prepareHeadlessEnvironment();
  int result = 0;
  {
    QGuiApplication application(argc, argv);
    result = RUN_ALL_TESTS();
  }
  qz::test::removeIsolatedHome();
  return result;
}
