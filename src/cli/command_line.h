#pragma once
// The options of quenzil-capture. Flags override the settings file for this run only and are
// never written back.
#include <optional>
#include <string>

namespace qz {

struct CommandLine {
  std::string address;
  std::optional<std::string> saveRoot;
  std::optional<std::string> skipSuffixes;
  bool preprocess = false;
  bool noLocalView = false;
  bool noSkip = false;
  bool help = false;
  std::string error;  // non-empty when the arguments could not be understood
};

CommandLine parseCommandLine(int argc, char** argv);
const char* usageText();

}  // namespace qz
