#pragma once
// The log box of the main window: each line is its time stamp in grey and its message in the
// line's own colour, always added at the bottom, with the newest line scrolled into view.
#include <QTextEdit>
#include <string>

#include "platform/log_line.h"

namespace qz {

class LogBox : public QTextEdit {
  Q_OBJECT

 public:
  explicit LogBox(QWidget* parent = nullptr);

  void appendLine(const std::string& stamp, const std::string& message, LogColour colour);

 private:
  void appendPiece(const QString& text, LogColour colour);
};

QColor qtColourOf(LogColour colour);

}  // namespace qz
