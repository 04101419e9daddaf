#include "links/link_extractor.h"

#include <boost/regex.hpp>

#include <exception>
#include <locale>

#include "platform/text.h"

namespace qz {
namespace {

// The classic locale keeps "\s" to the six ASCII white-space characters and case folding to
// ASCII letters, whatever locale the process was started with: bytes of UTF-8 characters are
// never spaces or letters to the pattern.
bool compilePattern(const std::string& pattern, boost::regex& compiled) {
  try {
    compiled.imbue(std::locale::classic());
    // mod_s: "." matches line breaks too, so a value may run across lines.
    compiled.assign(pattern, boost::regex::perl | boost::regex::icase | boost::regex::mod_s);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::string groupText(const boost::smatch& match, int group) {
  if (group < 0 || static_cast<std::size_t>(group) >= match.size()) return {};
  return match[group].matched ? match[group].str() : std::string();
}

std::string withoutStripTexts(std::string entry, std::string_view strip1, std::string_view strip2,
                              std::string_view strip3) {
  for (std::string_view strip : {strip1, strip2, strip3})
    if (!strip.empty()) entry = replaceText(entry, strip, "", true);
  return entry;
}

}  // namespace

bool LinkExtractor::extract(std::string_view text, const std::string& pattern, int group,
                            ResourceList& list, std::string_view strip1, std::string_view strip2,
                            std::string_view strip3) {
  list.clear();
  boost::regex compiled;
  if (!compilePattern(pattern, compiled)) return true;

  const std::string searched = textUpToZero(text);
  try {
    // The iterator resumes at the end of each whole match and steps past empty matches, so
    // matches never overlap and a pattern that can match nothing still advances.
    for (boost::sregex_iterator it(searched.begin(), searched.end(), compiled), end; it != end;
         ++it)
      list.push_back(withoutStripTexts(groupText(*it, group), strip1, strip2, strip3));
  } catch (const std::exception&) {
    // The engine gives up on pathological texts (its complexity limit); the entries found
    // before that point are real and stay in the list.
  }
  return true;
}

}  // namespace qz
