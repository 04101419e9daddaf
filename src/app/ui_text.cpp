#include "app/ui_text.h"

namespace qz {

QStringList logFontFamilies() {
  return {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
          QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
}

QStringList interfaceFontFamilies() {
  return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
          QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Serif CJK SC")};
}

QFont interfaceFont(double pointSize, bool bold) {
  QFont font;
  font.setFamilies(interfaceFontFamilies());
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

}  // namespace qz
