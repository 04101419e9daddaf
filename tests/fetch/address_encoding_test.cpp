// What goes on the request line: only bytes that cannot stand bare are encoded, so an address
// keeps its meaning (its separators and any existing %XX) and is never encoded twice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fetch/address_encoding.h"

namespace {

using namespace std::string_literals;

TEST(AddressEncoding, EncodesOnlyBytesThatCannotStandBare) {
  struct Case {
    std::string address;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"", ""},
      {"http://site.example/a/b.html?x=1&y=2#top", "http://site.example/a/b.html?x=1&y=2#top"},
      {"http://site.example/a b.html", "http://site.example/a%20b.html"},
      {"http://site.example/中.png", "http://site.example/%E4%B8%AD.png"},
      {"http://site.example/already%20encoded%e4", "http://site.example/already%20encoded%e4"},
      {"http://site.example/\t\r\n", "http://site.example/%09%0D%0A"},
      {"http://site.example/x\0y"s, "http://site.example/x%00y"},
      {"http://site.example/\x7F", "http://site.example/%7F"},
      {"http://site.example/\x80\xFF", "http://site.example/%80%FF"},  // malformed UTF-8 too
      {"http://site.example/<\"{|}\\^`>", "http://site.example/<\"{|}\\^`>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(qz::encodeAddressForRequest(c.address), c.expected);
  }
}

}  // namespace
