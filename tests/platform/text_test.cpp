// The text rules every address operation is built on: find, replace and split step over
// whole UTF-8 characters, case folding touches ASCII letters only.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text.h"

namespace qz {
namespace {

// "文" is E6 96 87, "é" is C3 A9, "😀" is F0 9F 98 80.
const std::string kWen = "\xE6\x96\x87";
const std::string kWenTail = "\x96\x87";

TEST(SplitText, FollowsThePieceRules) {
  struct Case {
    std::string text, delimiter;
    std::vector<std::string> pieces;
  };
  const std::vector<Case> cases = {
      {"a/b/", "/", {"a", "b"}},
      {"a//b", "/", {"a", "", "b"}},
      {"/a", "/", {"", "a"}},
      {"", "/", {}},
      {"/", "/", {""}},
      {"//", "/", {"", ""}},
      {"abc", "/", {"abc"}},
      {"a../b../", "../", {"a", "b"}},
      {"x" + kWen + "y" + kWen, kWen, {"x", "y"}},
      // A delimiter that is the tail of a character never cuts it.
      {"a" + kWen + "b", kWenTail, {"a" + kWen + "b"}},
      // Splitting never folds case.
      {"aXbxc", "x", {"aXb", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("split \"" + c.text + "\" at \"" + c.delimiter + "\"");
    EXPECT_EQ(splitText(c.text, c.delimiter), c.pieces);
  }
}

TEST(FindText, NeverStartsInsideACharacter) {
  struct Case {
    std::string text, what;
    bool ignoreCase;
    std::size_t expected;
  };
  const std::vector<Case> cases = {
      {"abcabc", "c", false, 2},
      {"abc", "", false, kNotFound},
      {"", "a", false, kNotFound},
      {"ab", "abc", false, kNotFound},
      {"HTTP://x", "http://", false, kNotFound},
      {"HTTP://x", "http://", true, 0},
      {"xHtTpS://", "https://", true, 1},
      // The tail of a three-byte character is no occurrence, the whole character is.
      {kWen, kWenTail, false, kNotFound},
      {kWen + kWen, kWenTail, false, kNotFound},
      {"a" + kWen, kWen, false, 1},
      // The tail of a four-byte character: no occurrence.
      {"\xF0\x9F\x98\x80", "\x98\x80", false, kNotFound},
      // A stray continuation byte or a broken sequence: every byte is a unit of its own.
      {"a\x96\x87", kWenTail, false, 1},
      {"\xE6\x96" "z", "\x96", false, 1},
      {"\xE6" "z\x96\x87", kWenTail, false, 2},
      // Overlong forms, surrogates and code points above U+10FFFF are malformed as well.
      {"\xE0\x80\x80", "\x80\x80", false, 1},
      {"\xED\xA0\x80", "\xA0\x80", false, 1},
      {"\xF4\x90\x80\x80", "\x90\x80", false, 1},
      {"\xC0\xAF", "\xAF", false, 1},
      // The largest well-formed forms stay whole.
      {"\xF4\x8F\xBF\xBF", "\x8F\xBF", false, kNotFound},
      {"\xED\x9F\xBF", "\x9F\xBF", false, kNotFound},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("find \"" + c.what + "\" in \"" + c.text + "\"");
    EXPECT_EQ(findText(c.text, c.what, c.ignoreCase), c.expected);
  }
}

TEST(FindText, ResumesFromAGivenPosition) {
  EXPECT_EQ(findText("a/b/c", "/", false, 2), 3u);
  EXPECT_EQ(findText("a/b/c", "/", false, 4), kNotFound);
  EXPECT_EQ(findText("a/b", "/", false, 99), kNotFound);
}

TEST(ReplaceText, ReplacesNonOverlappingOccurrencesFromTheLeft) {
  struct Case {
    std::string text, what, with;
    bool ignoreCase;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"aaa", "aa", "b", false, "ba"},
      {"a.b.c", ".", "_", false, "a_b_c"},
      {"a.b.c", ".", "", false, "abc"},
      {"abc", "", "x", false, "abc"},
      {"", "a", "x", false, ""},
      {"Http://a/HTTP://b", "http://", "*", true, "*a/*b"},
      {"Http://a/HTTP://b", "http://", "*", false, "Http://a/HTTP://b"},
      // The replacement is not searched again.
      {"ab", "a", "aa", false, "aab"},
      {kWen + "x" + kWen, kWen, "-", false, "-x-"},
      {kWen + kWen, kWenTail, "-", false, kWen + kWen},
      {"a\x96\x87", kWenTail, "-", false, "a-"},
      // Case is ignored for ASCII letters only.
      {"\xC3\x89T\xC3\xA9t", "\xC3\xA9T", "-", true, "\xC3\x89T-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("replace \"" + c.what + "\" in \"" + c.text + "\"");
    EXPECT_EQ(replaceText(c.text, c.what, c.with, c.ignoreCase), c.expected);
  }
}

TEST(CaseFolding, TouchesAsciiLettersOnly) {
  struct Case {
    std::string a, b;
    bool equal;
  };
  const std::vector<Case> cases = {
      {"ABC", "abc", true},
      {"aBc1-_", "AbC1-_", true},
      {"\xC3\x89", "\xC3\xA9", false},  // É and é
      {"[", "{", false},               // letters only, not the bytes 0x20 apart
      {"@", "`", false},
      {"abc", "abcd", false},
      {"", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a + " vs " + c.b);
    EXPECT_EQ(equalsIgnoringCase(c.a, c.b), c.equal);
  }
  EXPECT_EQ(asciiLower("AbC\xC3\x89Z" + kWen), "abc\xC3\x89z" + kWen);
  EXPECT_TRUE(startsWith("HTTPS://x", "https://", true));
  EXPECT_FALSE(startsWith("HTTPS://x", "https://"));
  EXPECT_TRUE(endsWith("a.GIF", ".gif", true));
  EXPECT_FALSE(endsWith("gif", ".gif", true));
}

TEST(LeftRightBytes, CountBytesNotCharacters) {
  struct Case {
    std::string text;
    std::size_t n;
    std::string left, right;
  };
  const std::vector<Case> cases = {
      {"abcdef", 2, "ab", "ef"},
      {"abc", 0, "", ""},
      {"abc", 3, "abc", "abc"},
      {"abc", 10, "abc", "abc"},
      {"", 4, "", ""},
      {kWen + "a", 2, "\xE6\x96", "\x87" "a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " n=" + std::to_string(c.n));
    EXPECT_EQ(leftBytes(c.text, c.n), c.left);
    EXPECT_EQ(rightBytes(c.text, c.n), c.right);
  }
}

TEST(TextUpToZero, StopsAtTheFirstZeroByte) {
  EXPECT_EQ(textUpToZero(std::string("ab\0cd", 5)), "ab");
  EXPECT_EQ(textUpToZero(std::string("\0x", 2)), "");
  EXPECT_EQ(textUpToZero("abc"), "abc");
}

}  // namespace
}  // namespace qz
