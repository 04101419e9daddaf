#include "support/fixture_server.h"

#include <httplib.h>

#include <cctype>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace qz::test {
namespace {

// Content types by file suffix, so a fixture page, its stylesheet and its images arrive the
// way a real server would label them. Anything else is served as plain bytes.
std::string contentTypeForFile(const std::string& path) {
  static const std::map<std::string, std::string> bySuffix = {
      {"html", "text/html"},        {"htm", "text/html"},
      {"css", "text/css"},          {"js", "application/javascript"},
      {"json", "application/json"}, {"txt", "text/plain"},
      {"xml", "application/xml"},   {"svg", "image/svg+xml"},
      {"png", "image/png"},         {"gif", "image/gif"},
      {"jpg", "image/jpeg"},        {"jpeg", "image/jpeg"},
      {"webp", "image/webp"},       {"ico", "image/x-icon"},
      {"bmp", "image/bmp"},         {"woff", "font/woff"},
      {"woff2", "font/woff2"},      {"ttf", "font/ttf"},
      {"swf", "application/x-shockwave-flash"},
  };
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return "application/octet-stream";
  std::string suffix = path.substr(dot + 1);
  for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto found = bySuffix.find(suffix);
  return found == bySuffix.end() ? "application/octet-stream" : found->second;
}

// A request path never reaches outside the fixture site: any ".." piece is refused.
bool staysInsideSite(const std::string& path) {
  std::istringstream pieces(path);
  std::string piece;
  while (std::getline(pieces, piece, '/'))
    if (piece == "..") return false;
  return !path.empty() && path.front() == '/';
}

std::optional<std::string> readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

struct FixtureServer::State {
  httplib::Server server;
  std::thread listener;
  int port = -1;
  std::string siteFolder;  // empty: no files served

  mutable std::mutex mutex;  // guards the two members below
  std::map<std::string, Handler> routes;
  std::vector<std::string> requested;

  std::optional<Handler> routeFor(const std::string& path) const {
    std::lock_guard lock(mutex);
    const auto found = routes.find(path);
    if (found == routes.end()) return std::nullopt;
    return found->second;
  }

  void serveFile(const httplib::Request& request, httplib::Response& response) const {
    std::string path = request.path;
    if (!path.empty() && path.back() == '/') path += "index.html";
    std::optional<std::string> body;
    if (!siteFolder.empty() && staysInsideSite(path)) body = readWholeFile(siteFolder + path);
    if (!body) {
      response.status = 404;
      response.set_content("not found", "text/plain");
      return;
    }
    response.status = 200;
    response.set_content(*body, contentTypeForFile(path));
  }

  void answer(const httplib::Request& request, httplib::Response& response) const {
    if (auto route = routeFor(request.path))
      (*route)(request, response);
    else
      serveFile(request, response);
  }
};

FixtureServer::FixtureServer(const std::string& fixtureSite) : state_(std::make_unique<State>()) {
  State& state = *state_;
  if (!fixtureSite.empty()) state.siteFolder = fixturePath(fixtureSite);

  // Recorded before the answer is written, so a client that has its response already finds
  // its request in the list.
  state.server.set_pre_routing_handler(
      [&state](const httplib::Request& request, httplib::Response&) {
        std::lock_guard lock(state.mutex);
        state.requested.push_back(request.target);
        return httplib::Server::HandlerResponse::Unhandled;
      });
  state.server.Get(".*", [&state](const httplib::Request& request, httplib::Response& response) {
    state.answer(request, response);
  });

  state.port = state.server.bind_to_any_port("127.0.0.1");
  if (state.port <= 0) throw std::runtime_error("the fixture server cannot bind 127.0.0.1");
  state.listener = std::thread([&state] { state.server.listen_after_bind(); });
  while (!state.server.is_running())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FixtureServer::~FixtureServer() {
  state_->server.stop();
  if (state_->listener.joinable()) state_->listener.join();
}

int FixtureServer::port() const { return state_->port; }

std::string FixtureServer::hostAndPort() const {
  return "127.0.0.1:" + std::to_string(state_->port);
}

std::string FixtureServer::baseUrl() const { return "http://" + hostAndPort(); }

void FixtureServer::serveText(const std::string& path, const std::string& body,
                              const std::string& contentType, int status) {
  serveHandler(path, [body, contentType, status](const httplib::Request&,
                                                 httplib::Response& response) {
    response.status = status;
    response.set_content(body, contentType);
  });
}

void FixtureServer::serveRedirect(const std::string& path, const std::string& location,
                                  int status) {
  serveHandler(path, [location, status](const httplib::Request&, httplib::Response& response) {
    response.status = status;
    response.set_header("Location", location);
  });
}

void FixtureServer::serveHandler(const std::string& path, Handler handler) {
  std::lock_guard lock(state_->mutex);
  state_->routes[path] = std::move(handler);
}

std::vector<std::string> FixtureServer::requestedPaths() const {
  std::lock_guard lock(state_->mutex);
  return state_->requested;
}

std::string fixturePath(const std::string& relative) {
  return std::string(QUENZIL_FIXTURES_DIR) + "/" + relative;
}

}  // namespace qz::test
