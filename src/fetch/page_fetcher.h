#pragma once
// One blocking HTTP GET per call, over libcurl.
//
// Every request: method GET, headers "Content-Type: application/x-www-form-urlencoded" and
// "Connection: close", no body, a desktop-browser User-Agent, redirects followed (at most 10),
// gzip/deflate decoded, TLS verified, only http and https (for the first request and for every
// redirect), connect time-out 30 s, abort when fewer than 1 byte/s arrive for 60 s. Non-ASCII
// bytes and blanks of the address are sent in %XX form; the caller's text is not changed.
// The HTTP status is not looked at: an error page's body is returned like any other.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

namespace qz {

// What a fetch brought back. `received` is true when a response arrived, whatever its status
// and even with an empty body; false for no response at all (host not found, connection
// refused or reset, time-out, a scheme other than http/https, a stop request).
struct FetchResult {
  bool received = false;
  std::string body;
};

struct StreamResult {
  bool received = false;
  std::int64_t bytes = 0;  // bytes written to the descriptor
};

// The most a body held in memory may have. Pages, stylesheets and scripts are far smaller; a
// hostile server streaming without end must not exhaust the memory of the capture. A longer
// body fails like a transfer that got no response. Materials are streamed and have no limit.
inline constexpr std::size_t kInMemoryBodyLimit = std::size_t{256} << 20;

// Call once at process start, before any thread fetches.
void initialiseFetching();

class PageFetcher {
 public:
  // `stop`, when given, is watched during every transfer: once it is true the running
  // transfer is aborted at once and no new one starts.
  explicit PageFetcher(const std::atomic<bool>* stop = nullptr,
                       std::size_t inMemoryLimit = kInMemoryBodyLimit);

  // The whole body in memory: for the page and for the stylesheets and scripts re-read. A body
  // over the in-memory limit is not received.
  FetchResult fetch(const std::string& address) const;

  // The body streamed into `fd` as it arrives, so memory does not grow with its size.
  // A failed transfer may have written part of the body; the caller discards it.
  StreamResult fetchToDescriptor(const std::string& address, int fd) const;

 private:
  const std::atomic<bool>* stop_;
  std::size_t inMemoryLimit_;
};

}  // namespace qz
