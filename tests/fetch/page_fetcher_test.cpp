// The fetcher against a real server on 127.0.0.1. Each table runs through both ways of
// fetching (into memory and into a descriptor), because callers rely on them behaving alike.
#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fetch/page_fetcher.h"
#include "support/fixture_server.h"
#include "support/test_environment.h"

namespace {

using qz::PageFetcher;
using qz::test::FixtureServer;
using qz::test::fixturePath;

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a fetch gave back, whichever way it ran.
struct Outcome {
  bool received = false;
  std::string body;
};

Outcome fetchIntoMemory(const PageFetcher& fetcher, const std::string& address) {
  qz::FetchResult result = fetcher.fetch(address);
  return {result.received, result.body};
}

Outcome fetchIntoFile(const PageFetcher& fetcher, const std::string& address) {
  const std::string path = qz::test::makeScratchFolder("stream") + "body";
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  EXPECT_GE(fd, 0);
  qz::StreamResult result = fetcher.fetchToDescriptor(address, fd);
  ::close(fd);
  Outcome outcome{result.received, fileBytes(path)};
  EXPECT_EQ(result.bytes, static_cast<std::int64_t>(outcome.body.size()));
  return outcome;
}

struct FetchMode {
  const char* name;
  std::function<Outcome(const PageFetcher&, const std::string&)> run;
  bool failureLeavesNoBody;  // a stream may have written part of a body before it failed
};

const std::vector<FetchMode>& fetchModes() {
  static const std::vector<FetchMode> modes = {{"in memory", fetchIntoMemory, true},
                                               {"to descriptor", fetchIntoFile, false}};
  return modes;
}

// A loopback port that nothing listens on: bound to get a free number, then closed.
int closedLoopbackPort() {
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(sock);
  return ntohs(address.sin_port);
}

void serveFileWithEncoding(FixtureServer& server, const std::string& path,
                           const std::string& fixture, const std::string& encoding) {
  const std::string bytes = fileBytes(fixturePath(fixture));
  server.serveHandler(path, [bytes, encoding](const httplib::Request&, httplib::Response& res) {
    res.set_header("Content-Encoding", encoding);
    // Not a text type, so the server library leaves the prepared bytes as they are.
    res.set_content(bytes, "application/octet-stream");
  });
}

class PageFetcherTest : public testing::Test {
 protected:
  void SetUp() override { qz::initialiseFetching(); }

  FixtureServer server{"fetch"};
  PageFetcher fetcher;
};

TEST_F(PageFetcherTest, AnyResponseIsReceivedWithItsBodyByteForByte) {
  server.serveText("/missing-page", "<h1>Not here</h1>", "text/html", 404);
  server.serveText("/broken", "server trouble", "text/plain", 500);
  server.serveText("/empty", "", "text/plain", 200);
  serveFileWithEncoding(server, "/packed-gzip", "fetch/greeting.txt.gz", "gzip");
  serveFileWithEncoding(server, "/packed-deflate", "fetch/greeting.txt.zz", "deflate");
  const std::string greeting = fileBytes(fixturePath("fetch/greeting.txt"));
  const std::string base = server.baseUrl();
  const std::string page = fileBytes(fixturePath("fetch/index.html"));
  const std::string image = fileBytes(fixturePath("fetch/images/dot.png"));
  ASSERT_NE(image.find('\0'), std::string::npos);
  struct Case {
    std::string address;
    std::string expectedBody;
  };
  const std::vector<Case> cases = {
      {base + "/missing-page", "<h1>Not here</h1>"},
      {base + "/broken", "server trouble"},
      {base + "/empty", ""},
      {base + "/index.html", page},
      {"HTTP://" + server.hostAndPort() + "/index.html", page},
      {base + "/images/dot.png", image},
      {base + "/packed-gzip", greeting},
      {base + "/packed-deflate", greeting},
  };
  for (const FetchMode& mode : fetchModes()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(mode.name) + " " + c.address);
      const Outcome outcome = mode.run(fetcher, c.address);
      EXPECT_TRUE(outcome.received);
      EXPECT_EQ(outcome.body, c.expectedBody);
    }
  }
}

TEST_F(PageFetcherTest, NoResponseMeansNotReceivedAndNoBody) {
  const std::string closed = "127.0.0.1:" + std::to_string(closedLoopbackPort());
  server.serveRedirect("/to-local-file", "file:///etc/passwd");
  server.serveRedirect("/to-ftp", "ftp://" + closed + "/");
  server.serveRedirect("/loop", "/loop");
  const std::vector<std::string> addresses = {
      "http://" + closed + "/index.html",           // connection refused
      server.hostAndPort() + "/index.html",         // no scheme at all
      "http:///index.html",                         // no host
      "not an address",
      "",
      "file:///etc/passwd",
      "ftp://" + closed + "/",
      server.baseUrl() + "/to-local-file",
      server.baseUrl() + "/to-ftp",
      server.baseUrl() + "/loop",
  };
  for (const FetchMode& mode : fetchModes()) {
    for (const std::string& address : addresses) {
      SCOPED_TRACE(std::string(mode.name) + " " + address);
      const Outcome outcome = mode.run(fetcher, address);
      EXPECT_FALSE(outcome.received);
      EXPECT_EQ(outcome.body, "");
    }
  }
}

TEST_F(PageFetcherTest, RedirectsAreFollowedUpToTen) {
  server.serveText("/target", "arrived");
  for (int status : {301, 302, 303, 307, 308})
    server.serveRedirect("/moved-" + std::to_string(status), "/target", status);
  // /hop-N redirects to /hop-(N-1); /hop-0 is the page.
  server.serveText("/hop-0", "end of the chain");
  for (int hop = 1; hop <= 11; ++hop)
    server.serveRedirect("/hop-" + std::to_string(hop), "/hop-" + std::to_string(hop - 1));
  struct Case {
    std::string path;
    bool received;
    std::string body;
  };
  const std::vector<Case> cases = {
      {"/moved-301", true, "arrived"}, {"/moved-302", true, "arrived"},
      {"/moved-303", true, "arrived"}, {"/moved-307", true, "arrived"},
      {"/moved-308", true, "arrived"}, {"/hop-10", true, "end of the chain"},
      {"/hop-11", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const qz::FetchResult result = fetcher.fetch(server.baseUrl() + c.path);
    EXPECT_EQ(result.received, c.received);
    EXPECT_EQ(result.body, c.body);
  }
}

TEST_F(PageFetcherTest, RequestIsAPlainGetWithTheTwoHeaders) {
  std::mutex mutex;
  httplib::Request seen;
  server.serveHandler("/inspect", [&](const httplib::Request& request, httplib::Response& res) {
    std::lock_guard lock(mutex);
    seen = request;
    res.set_content("ok", "text/plain");
  });
  ASSERT_TRUE(fetcher.fetch(server.baseUrl() + "/inspect").received);

  std::lock_guard lock(mutex);
  EXPECT_EQ(seen.method, "GET");
  EXPECT_EQ(seen.version, "HTTP/1.1");
  EXPECT_EQ(seen.get_header_value("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(seen.get_header_value("Connection"), "close");
  EXPECT_EQ(seen.body, "");
  EXPECT_EQ(seen.get_header_value("User-Agent").rfind("Mozilla/5.0 (", 0), 0u);
  EXPECT_NE(seen.get_header_value("Accept-Encoding").find("gzip"), std::string::npos);
}

TEST_F(PageFetcherTest, BlanksAndNonAsciiGoOnTheWireEncoded) {
  server.serveText("/a b/中.html", "found");
  const std::string address = server.baseUrl() + "/a b/中.html?q=中 文";
  const qz::FetchResult result = fetcher.fetch(address);
  EXPECT_TRUE(result.received);
  EXPECT_EQ(result.body, "found");
  ASSERT_EQ(server.requestedPaths().size(), 1u);
  EXPECT_EQ(server.requestedPaths().front(), "/a%20b/%E4%B8%AD.html?q=%E4%B8%AD%20%E6%96%87");
}

// Sends its body slowly, a chunk at a time, and raises `stop` once the first chunk is out,
// as the window would when closed mid-transfer. Left alone, it ends after a few seconds.
void serveSlowBodyThatRequestsStop(FixtureServer& server, std::atomic<bool>& stop) {
  server.serveHandler("/slow", [&stop](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider(
        "application/octet-stream", [&stop](size_t offset, httplib::DataSink& sink) {
          constexpr std::size_t kChunk = 1024, kChunks = 150;
          if (offset >= kChunk * kChunks) {
            sink.done();
            return true;
          }
          const std::string chunk(kChunk, 'x');
          if (!sink.write(chunk.data(), chunk.size())) return false;
          stop = true;
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
          return true;
        });
  });
}

TEST_F(PageFetcherTest, StopRequestAbortsARunningTransfer) {
  for (const FetchMode& mode : fetchModes()) {
    SCOPED_TRACE(mode.name);
    std::atomic<bool> stop{false};
    FixtureServer slowServer;
    serveSlowBodyThatRequestsStop(slowServer, stop);
    const PageFetcher stoppable(&stop);
    const Outcome outcome = mode.run(stoppable, slowServer.baseUrl() + "/slow");
    EXPECT_TRUE(stop.load());
    EXPECT_FALSE(outcome.received);
    if (mode.failureLeavesNoBody) {
      EXPECT_EQ(outcome.body, "");
    }
  }
}

TEST_F(PageFetcherTest, NoTransferStartsOnceStopIsRequested) {
  const std::atomic<bool> stop{true};
  const PageFetcher stopped(&stop);
  for (const FetchMode& mode : fetchModes()) {
    SCOPED_TRACE(mode.name);
    EXPECT_FALSE(mode.run(stopped, server.baseUrl() + "/index.html").received);
  }
  EXPECT_TRUE(server.requestedPaths().empty());
}

// Byte i of the large body; not periodic at any power of two, so a lost or repeated
// block shows up.
char largeBodyByte(std::size_t i) { return static_cast<char>((i * 7 + i / 1000) & 0xFF); }

TEST_F(PageFetcherTest, BodyOverTheInMemoryLimitIsNotReceived) {
  server.serveText("/at-limit.css", std::string(1000, 'a'), "application/octet-stream");
  server.serveText("/over-limit.css", std::string(1001, 'a'), "application/octet-stream");
  const PageFetcher limited(nullptr, 1000);
  const qz::FetchResult atLimit = limited.fetch(server.baseUrl() + "/at-limit.css");
  EXPECT_TRUE(atLimit.received);
  EXPECT_EQ(atLimit.body.size(), 1000u);
  const qz::FetchResult over = limited.fetch(server.baseUrl() + "/over-limit.css");
  EXPECT_FALSE(over.received);
  EXPECT_TRUE(over.body.empty());
}

TEST_F(PageFetcherTest, LargeBodyIsStreamedWhole) {
  constexpr std::size_t kSize = 20 * 1024 * 1024;
  server.serveHandler("/large", [](const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(kSize, "application/octet-stream",
                             [](size_t offset, size_t length, httplib::DataSink& sink) {
                               const std::size_t block = std::min<std::size_t>(length, 65536);
                               std::string bytes(block, '\0');
                               for (std::size_t i = 0; i < block; ++i)
                                 bytes[i] = largeBodyByte(offset + i);
                               return sink.write(bytes.data(), bytes.size());
                             });
  });
  const Outcome outcome = fetchIntoFile(fetcher, server.baseUrl() + "/large");
  EXPECT_TRUE(outcome.received);
  ASSERT_EQ(outcome.body.size(), kSize);
  std::size_t firstWrong = kSize;
  for (std::size_t i = 0; i < kSize && firstWrong == kSize; ++i)
    if (outcome.body[i] != largeBodyByte(i)) firstWrong = i;
  EXPECT_EQ(firstWrong, kSize);
}

TEST_F(PageFetcherTest, WriteFailureAbortsTheStream) {
  const std::string path = qz::test::makeScratchFolder("read-only") + "body";
  std::ofstream(path) << "";
  const int readOnly = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(readOnly, 0);
  const qz::StreamResult result =
      fetcher.fetchToDescriptor(server.baseUrl() + "/index.html", readOnly);
  ::close(readOnly);
  EXPECT_FALSE(result.received);
  EXPECT_EQ(result.bytes, 0);
}

}  // namespace
