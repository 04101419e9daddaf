// The program's places come from HOME, XDG_DATA_HOME and TMPDIR only.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/places.h"
#include "support/test_environment.h"

namespace qz {
namespace {

using test::ScopedVariable;


TEST(Places, FollowTheEnvironment) {
  const std::string uid = std::to_string(::getuid());
  struct Case {
    std::string name;
    std::optional<std::string> home, dataHome, tmp;
    std::string expectedHome, expectedDataHome, expectedTemporary;
  };
  const std::vector<Case> cases = {
      {"all set", "/h/ana", "/d/share/", "/t", "/h/ana/", "/d/share/", "/t/Pirnex-" + uid + "/"},
      {"no data home", "/h/ana/", std::nullopt, "/t/", "/h/ana/", "/h/ana/.local/share/",
       "/t/Pirnex-" + uid + "/"},
      {"empty data home", "/h/ana", "", std::nullopt, "/h/ana/", "/h/ana/.local/share/",
       "/tmp/Pirnex-" + uid + "/"},
      {"a relative data home is ignored", "/h/ana", "rel/share", "", "/h/ana/",
       "/h/ana/.local/share/", "/tmp/Pirnex-" + uid + "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedVariable home("HOME", c.home);
    ScopedVariable dataHome("XDG_DATA_HOME", c.dataHome);
    ScopedVariable tmp("TMPDIR", c.tmp);
    EXPECT_EQ(homeDirectory(), c.expectedHome);
    EXPECT_EQ(dataHomeDirectory(), c.expectedDataHome);
    EXPECT_EQ(userTemporaryFolder(), c.expectedTemporary);
  }
}

TEST(Places, HomeWithoutHomeVariableStillEndsInASeparator) {
  ScopedVariable home("HOME", std::nullopt);
  const std::string result = homeDirectory();
  ASSERT_FALSE(result.empty());
  EXPECT_EQ(result.back(), '/');
  EXPECT_EQ(result.front(), '/');
}

}  // namespace
}  // namespace qz
