#pragma once
// A real HTTP server on 127.0.0.1, on a free port, for end-to-end tests. It serves the files
// of one fixture site (a folder of tests/fixtures/) and any extra routes a test adds. It runs
// on its own thread from construction to destruction.
//
// How it answers a GET (HEAD alike):
// - a route added with serveText / serveRedirect / serveHandler whose path equals the request's
//   decoded path (query left out) wins; routes may be added while the server runs;
// - otherwise the file of the site at that path, 200, with a content type by suffix (html/htm
//   text/html, css text/css, js application/javascript, png, gif, jpg, svg, ico, woff, ...;
//   anything else application/octet-stream); a path ending in "/" serves its index.html;
// - otherwise 404 with the body "not found" (also for any ".." piece in the path).
// Text bodies (text/*, javascript, json, xml, svg) are compressed by the server library when
// the client accepts gzip or br; a client that decodes, as the fetcher does, sees the bytes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace qz::test {

class FixtureServer {
 public:
  // `fixtureSite` is a folder name below tests/fixtures/ (empty: no files served).
  explicit FixtureServer(const std::string& fixtureSite = {});
  ~FixtureServer();
  FixtureServer(const FixtureServer&) = delete;
  FixtureServer& operator=(const FixtureServer&) = delete;

  int port() const;
  // "127.0.0.1:PORT"
  std::string hostAndPort() const;
  // "http://127.0.0.1:PORT"
  std::string baseUrl() const;

  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
  void serveText(const std::string& path, const std::string& body,
                 const std::string& contentType = "text/html", int status = 200);
  void serveRedirect(const std::string& path, const std::string& location, int status = 302);
  void serveHandler(const std::string& path, Handler handler);

  // Paths (with query) of every request received so far, in order, exactly as they stood on
  // the request line: percent-encoding is kept ("/a%20b.html?x=1").
  std::vector<std::string> requestedPaths() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Absolute path of tests/fixtures/<relative>.
std::string fixturePath(const std::string& relative);

}  // namespace qz::test
