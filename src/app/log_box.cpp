#include "app/log_box.h"

#include <QScrollBar>
#include <QTextCursor>

#include "app/ui_text.h"

namespace qz {
namespace {

constexpr double kLogPointSize = 9;

QTextCharFormat pieceFormat(LogColour colour) {
  QTextCharFormat format;
  format.setFontFamilies(logFontFamilies());
  format.setFontPointSize(kLogPointSize);
  format.setFontWeight(QFont::Normal);
  format.setFontItalic(false);
  format.setFontUnderline(false);
  format.setFontStrikeOut(false);
  format.setForeground(qtColourOf(colour));
  return format;
}

}  // namespace

QColor qtColourOf(LogColour colour) {
  const Rgb rgb = rgbOf(colour);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

LogBox::LogBox(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setAcceptRichText(false);
  setLineWrapMode(QTextEdit::WidgetWidth);
  QFont font;
  font.setFamilies(logFontFamilies());
  font.setPointSizeF(kLogPointSize);
  document()->setDefaultFont(font);
}

// A cursor of its own: the user's selection in the box survives new lines.
void LogBox::appendPiece(const QString& text, LogColour colour) {
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(text, pieceFormat(colour));
}

void LogBox::appendLine(const std::string& stamp, const std::string& message, LogColour colour) {
  appendPiece(toQt(stamp), LogColour::Grey);
  appendPiece(toQt(message) + QChar('\n'), colour);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace qz
