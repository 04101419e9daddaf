#pragma once
// The typed log line every stage reports through. The colours are meanings; each front end
// (log box, terminal) decides how to show them.
#include <string>

namespace qz {

enum class LogColour { Black, Red, Orange, Grey, Pink };

struct Rgb {
  int red, green, blue;
};

constexpr Rgb rgbOf(LogColour colour) {
  switch (colour) {
    case LogColour::Red: return {255, 0, 0};
    case LogColour::Orange: return {255, 128, 0};
    case LogColour::Grey: return {128, 128, 128};
    case LogColour::Pink: return {255, 128, 192};
    case LogColour::Black: break;
  }
  return {0, 0, 0};
}

// Where the stages of a capture write their progress lines.
class LogWriter {
 public:
  virtual ~LogWriter() = default;
  virtual void add(const std::string& message, LogColour colour = LogColour::Black) = 0;
};

}  // namespace qz
