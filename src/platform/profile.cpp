#include "platform/profile.h"

#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace qz {
namespace {

struct Line {
  std::string text;    // without its line end
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> splitLines(const std::string& bytes) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t lf = bytes.find('\n', start);
    if (lf == std::string::npos) {
      lines.push_back({bytes.substr(start), ""});
      break;
    }
    bool crlf = lf > start && bytes[lf - 1] == '\r';
    std::size_t end = crlf ? lf - 1 : lf;
    lines.push_back({bytes.substr(start, end - start), crlf ? "\r\n" : "\n"});
    start = lf + 1;
  }
  return lines;
}

std::string trimBlanks(std::string_view text) {
  std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(" \t");
  return std::string(text.substr(begin, end - begin + 1));
}

// The name of a "[section]" line, or false when the line is no section header.
bool sectionName(const std::string& line, std::string& name) {
  std::string trimmed = trimBlanks(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return false;
  name = trimBlanks(std::string_view(trimmed).substr(1, trimmed.size() - 2));
  return true;
}

// True when the line is "key=value" for this key; `value` gets the text after "=".
bool keyLine(const std::string& line, const std::string& key, std::string* value) {
  std::size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  if (!equalsIgnoringCase(trimBlanks(std::string_view(line).substr(0, equals)), key)) return false;
  if (value) *value = trimBlanks(std::string_view(line).substr(equals + 1));
  return true;
}

std::string oneLine(const std::string& value) {
  std::string result = value;
  for (char& c : result)
    if (c == '\r' || c == '\n') c = ' ';
  return result;
}

}  // namespace

std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  std::string bytes;
  if (!readWholeFile(file, bytes)) return leftBytes(fallback, kProfileValueLimit);
  bool inSection = false;
  for (const Line& line : splitLines(bytes)) {
    std::string name;
    if (sectionName(line.text, name)) {
      inSection = equalsIgnoringCase(name, section);
      continue;
    }
    std::string value;
    if (inSection && keyLine(line.text, key, &value)) return leftBytes(value, kProfileValueLimit);
  }
  return leftBytes(fallback, kProfileValueLimit);
}

bool writeProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
  std::string bytes;
  // A file that exists but cannot be read is left alone: writing it from nothing would
  // drop every other key it holds.
  if (!readWholeFile(file, bytes) && pathExists(file)) return false;
  std::vector<Line> lines = splitLines(bytes);
  const std::string newLine = key + "=" + oneLine(value);
  const std::string ending = bytes.find("\r\n") != std::string::npos || bytes.empty() ? "\r\n" : "\n";

  bool inSection = false;
  std::size_t insertAt = lines.size();
  bool sectionFound = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (sectionName(lines[i].text, name)) {
      if (inSection) break;  // end of our section: insert before the next one
      inSection = equalsIgnoringCase(name, section);
      if (inSection) {
        sectionFound = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    if (keyLine(lines[i].text, key, nullptr)) {
      lines[i].text = newLine;
      insertAt = std::string::npos;
      break;
    }
    if (!trimBlanks(lines[i].text).empty()) insertAt = i + 1;
  }

  if (insertAt != std::string::npos) {
    // Only a line that gets a successor needs a line end; a last line elsewhere keeps its bytes.
    const bool appendsAtEnd = insertAt == lines.size();
    if (appendsAtEnd && !lines.empty() && lines.back().ending.empty()) lines.back().ending = ending;
    if (!sectionFound) {
      lines.push_back({"[" + section + "]", ending});
      insertAt = lines.size();
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{newLine, ending});
  }

  std::string result;
  for (const Line& line : lines) result += line.text + line.ending;
  return writeFileAtomically(file, result);
}

}  // namespace qz
