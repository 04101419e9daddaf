// quenzil: the desktop program. One window, one capture per start.
#include <QApplication>
#include <cstdlib>
#include <unistd.h>

#include "app/asker.h"
#include "app/main_window.h"
#include "app/ui_text.h"
#include "fetch/page_fetcher.h"

int main(int argc, char** argv) {
  // The browser engine refuses to run as root with its sandbox on.
  if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  qz::initialiseFetching();

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quenzil"));
  QApplication::setApplicationVersion(qz::toQt(qz::kVersionText));
  QApplication::setDesktopFileName(QStringLiteral("quenzil"));
  QApplication::setFont(qz::interfaceFont());

  qz::DialogAsker asker;
  qz::MainWindow window(asker, qz::resolveAppPlaces());
  window.show();
  return application.exec();
}
