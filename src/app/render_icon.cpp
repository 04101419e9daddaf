// Renders the program icon into <folder>/<size>/quenzil.png for each size given, for the
// desktop entry. Runs at build time on the offscreen platform.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "app/artwork.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: quenzil-render-icon FOLDER SIZE...\n", stderr);
    return 2;
  }
  QGuiApplication application(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    if (size <= 0) return 2;
    const QString sizeFolder = folder + "/" + QString::number(size);
    if (!QDir().mkpath(sizeFolder)) return 1;
    if (!qz::art::programIcon(size).save(sizeFolder + "/quenzil.png")) return 1;
  }
  return 0;
}
