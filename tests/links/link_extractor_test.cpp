#include "links/link_extractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qz {
namespace {

struct ExtractionCase {
  std::string label;
  std::string text;
  std::string pattern;
  int group;
  std::vector<std::string> strips;  // up to three, in order
  ResourceList expected;
};

ResourceList run(const ExtractionCase& c) {
  ResourceList list{"left over from an earlier extraction"};
  const auto strip = [&](std::size_t i) { return i < c.strips.size() ? c.strips[i] : ""; };
  EXPECT_TRUE(LinkExtractor::extract(c.text, c.pattern, c.group, list, strip(0), strip(1),
                                     strip(2)));
  return list;
}

void expectAll(const std::vector<ExtractionCase>& cases) {
  for (const ExtractionCase& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(run(c), c.expected);
  }
}

// The page is searched with both quote characters stripped, as the pattern-mode capture does.
ExtractionCase page(std::string label, std::string text, ResourceList expected) {
  return {std::move(label), std::move(text), kAttributePattern, 2, {"\"", "'"},
          std::move(expected)};
}
ExtractionCase stylesheetBrackets(std::string label, std::string text, ResourceList expected) {
  return {std::move(label), std::move(text), kBracketPattern, 1, {}, std::move(expected)};
}

TEST(LinkExtractor, AttributeValuesOfAPage) {
  expectAll({
      page("single-quoted value", "<img src='images/a.gif' width=10>", {"images/a.gif"}),
      page("double-quoted value", "<img src=\"images/a.gif\" width=10>", {"images/a.gif"}),
      page("upper-case name, query kept", "<A HREF=list.asp?id=3>", {"list.asp?id=3"}),
      page("mixed-case name", "<body BackGround=bg.gif>", {"bg.gif"}),
      page("blank inside a quoted value cuts it", "<embed src='my movie.swf'>", {"my"}),
      page("blanks around the equals sign", "<td background = 'bg.jpg'>", {"bg.jpg"}),
      page("value attribute", "<input value=Go>", {"Go"}),
      page("empty quoted value is an entry", "<a href=''>", {""}),
      page("asterisk ends the value", "src=a*b.gif ", {"a"}),
      page("word inside a longer name", "<xml datasrc=\"data.xml\">", {"data.xml"}),
      page("no terminator before the end", "<img src=\"a.gif", {}),
      page("no attribute words", "<p>plain text, no addresses</p>", {}),
      page("empty text", "", {}),
      page("duplicates stay", "<img src=a.gif><img src=a.gif>", {"a.gif", "a.gif"}),
      page("terminator belongs to the match", "src=a>src=b>", {"a", "b"}),
      page("tab, CR, vertical tab and form feed end a value",
           "src=a\tsrc=b\rsrc=c\vsrc=d\f", {"a", "b", "c", "d"}),
      page("UTF-8 bytes are neither blanks nor letters", "<img src=\"图片/à.gif\">",
           {"图片/à.gif"}),
  });
}

TEST(LinkExtractor, TextEndsAtItsFirstZeroByte) {
  const std::string text("<img src=a.gif>\0<img src=b.gif>", 31);
  expectAll({page("zero byte", text, {"a.gif"})});
}

TEST(LinkExtractor, BracketsOfStylesheets) {
  expectAll({
      stylesheetBrackets("url() with trailing words", "background:url(../img/x.png) no-repeat",
                         {"../img/x.png"}),
      stylesheetBrackets("quotes are kept", "url('a.png')", {"'a.png'"}),
      stylesheetBrackets("dot matches a line break", "url(a\nb.png)", {"a\nb.png"}),
      stylesheetBrackets("nesting is not balanced", "url((a).png)", {"(a"}),
      stylesheetBrackets("two in a row", "url(a.png) url(b.png)", {"a.png", "b.png"}),
      stylesheetBrackets("no closing bracket", "url(a.png", {}),
  });
}

TEST(LinkExtractor, StripTextsAreAppliedInOrderIgnoringCase) {
  expectAll({
      {"script extraction", "img.src='pic/'+n+'.jpg';\nx", kAttributePattern, 2,
       {"\\", "'", "\""}, {"pic/+n+.jpg;"}},
      {"case ignored", "src=aXbxc>", kAttributePattern, 2, {"x"}, {"abc"}},
      // Each strip text runs once over the result of the one before; nothing is re-scanned.
      {"'ab' then 'c'", "src=aacbb>", kAttributePattern, 2, {"ab", "c"}, {"aabb"}},
      {"'c' then 'ab'", "src=aacbb>", kAttributePattern, 2, {"c", "ab"}, {"ab"}},
      {"value made only of strip texts", "href=\"''\">", kAttributePattern, 2, {"\"", "'"},
       {""}},
      {"stylesheets strip nothing", "src=\"a.css\">", kAttributePattern, 2, {}, {"\"a.css\""}},
  });
}

TEST(LinkExtractor, OddPatternsNeverFailTheCaller) {
  expectAll({
      {"pattern that does not compile", "src=a>", "(unclosed", 1, {}, {}},
      {"group that took no part", "ab", "(a)|(b)", 2, {}, {"", "b"}},
      {"group beyond the pattern", "ab", "(a)", 5, {}, {""}},
      // An empty match must still move the search on: one per position, then the end.
      {"pattern matching empty text", "abc", "x*", 0, {}, {"", "", "", ""}},
  });
}

}  // namespace
}  // namespace qz
