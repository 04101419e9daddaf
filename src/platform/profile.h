#pragma once
// A small INI profile layer: "[section]" headers and "key=value" lines.
//
// Section and key names compare without regard to ASCII case. A read returns at most
// kProfileValueLimit bytes. A write replaces only the line of its own key (or adds one, and
// the section when missing) and keeps every other line byte for byte; it goes through a
// temporary file renamed into place, so an interrupted write never damages the file.
#include <cstddef>
#include <string>

namespace qz {

inline constexpr std::size_t kProfileValueLimit = 10239;

// The value, or `fallback` when the file, the section or the key is missing.
std::string readProfileString(const std::string& file, const std::string& section,
                              const std::string& key, const std::string& fallback = {});

// False when the file could not be written. Line breaks in `value` are stored as blanks,
// since a value is one line.
bool writeProfileString(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value);

}  // namespace qz
