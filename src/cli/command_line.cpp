#include "cli/command_line.h"

#include <string_view>

namespace qz {

const char* usageText() {
  return "Usage: quenzil-capture URL [--save-root DIR] [--preprocess] [--no-local-view]\n"
         "                       [--no-skip] [--skip-suffixes LIST]\n"
         "\n"
         "Captures one web page and every material it refers to into a new numbered folder\n"
         "(SITE_1, SITE_2, ...) under the save root, with a log file and a file list.\n"
         "\n"
         "  --save-root DIR       create the capture folder under DIR (default: the settings,\n"
         "                        else the home directory)\n"
         "  --preprocess          open the page in a hidden browser engine first and collect\n"
         "                        the materials from its live document\n"
         "  --no-local-view       store the page as fetched (no root-relative rewrite)\n"
         "  --no-skip             download every suffix except .url\n"
         "  --skip-suffixes LIST  suffixes not to download, e.g. \"|html|php|exe|\"\n"
         "\n"
         "Flags apply to this run only. Exit status: 0 after the summary, 1 when no capture\n"
         "folder could be made, 2 for bad arguments.\n";
}

CommandLine parseCommandLine(int argc, char** argv) {
  CommandLine line;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&](std::optional<std::string>& target) {
      if (i + 1 >= argc) {
        line.error = std::string(arg) + " needs a value";
        return;
      }
      target = argv[++i];
    };
    if (arg == "--help" || arg == "-h") line.help = true;
    else if (arg == "--save-root") value(line.saveRoot);
    else if (arg == "--skip-suffixes") value(line.skipSuffixes);
    else if (arg == "--preprocess") line.preprocess = true;
    else if (arg == "--no-local-view") line.noLocalView = true;
    else if (arg == "--no-skip") line.noSkip = true;
    else if (arg.starts_with("--")) line.error = "unknown option " + std::string(arg);
    else if (line.address.empty()) line.address = arg;
    else line.error = "more than one address given";
  }
  if (!line.help && line.error.empty() && line.address.empty()) line.error = "no address given";
  return line;
}

}  // namespace qz
