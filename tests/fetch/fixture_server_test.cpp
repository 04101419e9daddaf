// The loopback server every end-to-end test stands on: it must serve fixture files byte for
// byte with sensible content types, answer the routes a test adds, and report the request
// lines as they arrived.
#include <gtest/gtest.h>
#include <httplib.h>

#include <fstream>
#include <iterator>
#include <string>

#include "support/fixture_server.h"

namespace {

using qz::test::FixtureServer;
using qz::test::fixturePath;

std::string fileBytes(const std::string& relative) {
  std::ifstream in(fixturePath(relative), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

httplib::Client clientFor(const FixtureServer& server) {
  httplib::Client client("127.0.0.1", server.port());
  client.set_follow_location(false);
  return client;
}

TEST(FixtureServer, ServesSiteFilesWithTypesBySuffix) {
  struct Case {
    std::string path;
    int status;
    std::string contentType;  // empty: not checked
    std::string fixtureFile;  // empty: body not checked
  };
  const std::vector<Case> cases = {
      {"/index.html", 200, "text/html", "fetch/index.html"},
      {"/", 200, "text/html", "fetch/index.html"},
      {"/images/dot.png", 200, "image/png", "fetch/images/dot.png"},
      {"/greeting.txt.gz", 200, "application/octet-stream", "fetch/greeting.txt.gz"},
      {"/missing.html", 404, "", ""},
      {"/../fetch/index.html", 404, "", ""},  // would leave the site folder
  };
  FixtureServer server("fetch");
  auto client = clientFor(server);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    auto result = client.Get(c.path);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, c.status);
    if (!c.contentType.empty()) {
      EXPECT_EQ(result->get_header_value("Content-Type"), c.contentType);
    }
    if (!c.fixtureFile.empty()) {
      EXPECT_EQ(result->body, fileBytes(c.fixtureFile));
    }
  }
}

TEST(FixtureServer, AnswersAddedRoutesBeforeFiles) {
  FixtureServer server("fetch");
  server.serveText("/index.html", "replaced", "text/plain", 203);
  server.serveRedirect("/old", "/new", 301);
  server.serveHandler("/echo", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(request.get_param_value("word"), "text/plain");
  });
  auto client = clientFor(server);

  auto replaced = client.Get("/index.html");
  ASSERT_TRUE(replaced);
  EXPECT_EQ(replaced->status, 203);
  EXPECT_EQ(replaced->body, "replaced");

  auto moved = client.Get("/old");
  ASSERT_TRUE(moved);
  EXPECT_EQ(moved->status, 301);
  EXPECT_EQ(moved->get_header_value("Location"), "/new");

  auto echoed = client.Get("/echo?word=hello");
  ASSERT_TRUE(echoed);
  EXPECT_EQ(echoed->body, "hello");
}

TEST(FixtureServer, RecordsRequestLinesAsSent) {
  FixtureServer server;
  auto client = clientFor(server);
  ASSERT_TRUE(client.Get("/a%20b.html?x=1"));
  ASSERT_TRUE(client.Get("/second"));
  EXPECT_EQ(server.requestedPaths(),
            (std::vector<std::string>{"/a%20b.html?x=1", "/second"}));
}

TEST(FixtureServer, SiteLessServerAnswersNotFound) {
  FixtureServer server;
  auto client = clientFor(server);
  auto result = client.Get("/index.html");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 404);
  EXPECT_EQ(server.baseUrl(), "http://127.0.0.1:" + std::to_string(server.port()));
}

}  // namespace
