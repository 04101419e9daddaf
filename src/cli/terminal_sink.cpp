#include "cli/terminal_sink.h"

#include <string>

namespace qz {
namespace {

// 24-bit colour escapes with the log's own colours; black stays the terminal's default
// foreground so the text is readable on dark and light backgrounds alike.
std::string escapeFor(LogColour colour) {
  if (colour == LogColour::Black) return "\033[0m";
  const Rgb rgb = rgbOf(colour);
  return "\033[38;2;" + std::to_string(rgb.red) + ";" + std::to_string(rgb.green) + ";" +
         std::to_string(rgb.blue) + "m";
}

}  // namespace

TerminalSink::TerminalSink(std::FILE* out, std::FILE* err, bool coloured)
    : out_(out), err_(err), coloured_(coloured) {}

void TerminalSink::showLogLine(const std::string& stamp, const std::string& message,
                               LogColour colour) {
  if (coloured_) {
    std::fprintf(out_, "%s%s%s%s\033[0m\n", escapeFor(LogColour::Grey).c_str(), stamp.c_str(),
                 escapeFor(colour).c_str(), message.c_str());
  } else {
    std::fprintf(out_, "%s%s\n", stamp.c_str(), message.c_str());
  }
  std::fflush(out_);
}

void TerminalSink::showMessage(const std::string& text, const std::string& caption) {
  std::fprintf(err_, "%s %s\n", caption.c_str(), text.c_str());
  std::fflush(err_);
}

}  // namespace qz
