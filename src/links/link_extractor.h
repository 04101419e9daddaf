#pragma once
// Finds material addresses in a text by regular expression. It only extracts: nothing is
// resolved, filtered or de-duplicated here; the batch download does that.
#include <string>
#include <string_view>

#include "links/resource_list.h"

namespace qz {

// The value after src=, href=, value= or background= (group 2). The lazy group ends at the
// first ">", white-space character or "*"; the words may stand inside longer names (datasrc).
inline constexpr const char* kAttributePattern = R"((src|href|value|background)\s*=\s*(.*?)[>\s*])";
// The text between "(" and the next ")" (group 1), as in url(...) of stylesheets.
inline constexpr const char* kBracketPattern = R"(\((.*?)\))";

struct LinkExtractor {
  // Empties `list`, then appends the text of capture group `group` of every non-overlapping
  // match of `pattern` in `text` (up to its first zero byte), left to right. From each entry
  // every occurrence of strip1, then strip2, then strip3 is deleted (ASCII case ignored); an
  // empty strip text removes nothing. Empty entries are kept. The pattern is Perl syntax,
  // matched ignoring ASCII case, with "." matching line breaks. A pattern that does not
  // compile finds nothing. Always returns true.
  static bool extract(std::string_view text, const std::string& pattern, int group,
                      ResourceList& list, std::string_view strip1 = {},
                      std::string_view strip2 = {}, std::string_view strip3 = {});
};

}  // namespace qz
