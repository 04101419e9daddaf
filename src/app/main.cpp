// quenzil: the desktop program. One window, one capture per start.
#include <QApplication>
#include <cstdlib>
#include <unistd.h>

#include "app/asker.h"
#include "app/browser_hand_off.h"
#include "app/main_window.h"
#include "app/ui_text.h"
#include "browser/headless_capture.h"
#include "fetch/page_fetcher.h"

int main(int argc, char** argv) {
  // Before Qt starts: the browser engine refuses to run as root with its sandbox on.
  qz::prepareBrowserEnvironment();
  qz::initialiseFetching();

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quenzil"));
  QApplication::setApplicationVersion(qz::toQt(qz::kVersionText));
  QApplication::setDesktopFileName(QStringLiteral("quenzil"));
  QApplication::setFont(qz::interfaceFont());

  qz::DialogAsker asker;
  qz::BrowserHandOff browserHandOff;  // outlives the window and its capture thread
  qz::MainWindow window(asker, qz::resolveAppPlaces());
  window.setPreprocessHandOff(&browserHandOff);
  window.show();
  return application.exec();
}
