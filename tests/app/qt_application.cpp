// The Qt application of the window tests: created once the shared main has pointed HOME and
// the data folders at temporary ones, and destroyed after the last test.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "app/ui_text.h"
#include "browser/headless_capture.h"

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qz::prepareBrowserEnvironment();  // the preprocessing tests start the browser engine
    application_ = std::make_unique<QApplication>(argc_, argv_);
    QApplication::setFont(qz::interfaceFont());
    // Windows closed by a test must not end the test program.
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[9] = "test_app";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
