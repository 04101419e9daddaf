#pragma once
// The one place where the program's UTF-8 texts and Qt's strings meet, and the fonts that make
// sure Chinese never shows as empty boxes.
#include <QFont>
#include <QString>
#include <QStringList>
#include <string>

namespace qz {

inline QString toQt(const std::string& text) { return QString::fromUtf8(text); }
inline std::string fromQt(const QString& text) { return text.toUtf8().toStdString(); }

// The log box asks for "宋体"; where it is missing the next family that has the glyphs is used.
QStringList logFontFamilies();
// Labels, buttons and boxes of both windows.
QStringList interfaceFontFamilies();

QFont interfaceFont(double pointSize = 9, bool bold = false);

}  // namespace qz
