// Renders the pictures of docs/: the main window before and after a capture of the fixture
// site (served on 127.0.0.1), and both tabs of the settings window.
//   quenzil-screenshots <folder>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/replace_tab.h"
#include "app/settings_window.h"
#include "app/ui_text.h"
#include "fetch/page_fetcher.h"
#include "platform/files.h"
#include "scripted_asker.h"
#include "settings/settings_store.h"
#include "support/fixture_server.h"
#include "support/test_environment.h"

namespace {

// The window as the desktop shows it: the cut-away outside is transparent.
QImage shaped(QWidget& widget) {
  QImage image = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  const QRegion shape = widget.mask();
  if (shape.isEmpty()) return image;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (!shape.contains(QPoint(x, y))) image.setPixel(x, y, qRgba(0, 0, 0, 0));
  return image;
}

bool save(const QImage& image, const QString& folder, const char* name) {
  const QString path = folder + "/" + name;
  const bool saved = image.save(path);
  std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
               qPrintable(path));
  return saved;
}

void settle() {
  QEventLoop loop;
  QTimer::singleShot(50, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: quenzil-screenshots FOLDER\n", stderr);
    return 2;
  }
  qz::test::isolateHomeForTests();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qz::initialiseFetching();
  QApplication application(argc, argv);
  QApplication::setFont(qz::interfaceFont());
  const QString folder = QString::fromLocal8Bit(argv[1]);

  qz::test::FixtureServer server("site");
  const std::string data = qz::test::makeScratchFolder("quenzil");
  const qz::AppPlaces places = qz::placesIn(data + "Pirnexsoft.p", data + "Quenzil/");
  qz::createDirectoryTree(places.appDataFolder);
  qz::writeFileAtomically(places.historyFile,
                          "http://studio.example/portfolio/\r\nhttp://" + server.hostAndPort() +
                              "/about.html\r\n");
  qz::test::ScriptedAsker asker;
  int failures = 0;
  {
    qz::MainWindow window(asker, places);
    window.addressCombo()->setEditText(
        QString::fromStdString("http://" + server.hostAndPort() + "/index.html"));
    window.show();
    settle();
    failures += !save(shaped(window), folder, "main-window.png");

    QEventLoop loop;
    QObject::connect(&window, &qz::MainWindow::captureEnded, &loop, &QEventLoop::quit);
    window.startCapture();
    if (window.captureRunning()) loop.exec();
    settle();
    failures += !save(shaped(window), folder, "main-window-after-capture.png");

    window.openSettingsWindow();
    qz::SettingsWindow* settings = window.settingsWindow();
    settle();
    failures += !save(settings->grab().toImage(), folder, "settings-tab.png");

    qz::ReplaceTab* replace = settings->replaceTab();
    settings->tabs()->setCurrentWidget(replace);
    replace->fileEdit()->setText(QStringLiteral("/home/ana/captures/studio_1/css/main.css"));
    replace->patternEdit()->setPlainText(QStringLiteral("(\\d+)px"));
    replace->replacementEdit()->setPlainText(QStringLiteral("$1rem"));
    settle();
    failures += !save(settings->grab().toImage(), folder, "replace-tab.png");
    window.setEndProcess([] {});
  }
  qz::test::removeIsolatedHome();
  return failures == 0 ? 0 : 1;
}
