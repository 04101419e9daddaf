#include "fetch/page_fetcher.h"

#include <curl/curl.h>

#include <functional>
#include <memory>
#include <mutex>

#include "fetch/address_encoding.h"
#include "platform/files.h"

namespace qz {
namespace {

// Sent so that servers answer as they would answer a visitor's browser.
constexpr const char* kUserAgent =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/126.0.0.0 Safari/537.36";

constexpr long kConnectTimeoutSeconds = 30;
constexpr long kMaxRedirects = 10;
constexpr long kLowSpeedBytesPerSecond = 1;
constexpr long kLowSpeedSeconds = 60;

// Receives each chunk of the body as it arrives; false aborts the transfer.
using ChunkSink = std::function<bool(const char* data, std::size_t size)>;

// What the curl callbacks of one transfer reach through their user pointer.
struct Transfer {
  const std::atomic<bool>* stop;
  const ChunkSink* sink;
};

bool stopRequested(const std::atomic<bool>* stop) { return stop && stop->load(); }

using EasyHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using HeaderList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

std::size_t onBodyChunk(char* data, std::size_t one, std::size_t count, void* user) {
  const auto* transfer = static_cast<const Transfer*>(user);
  const std::size_t size = one * count;
  if (stopRequested(transfer->stop)) return 0;  // anything but `size` aborts the transfer
  try {
    return (*transfer->sink)(data, size) ? size : 0;
  } catch (...) {
    return 0;  // nothing may unwind through curl
  }
}

// Called by curl many times a second while data flows and about once a second while it
// waits, so a stop request ends even a stalled transfer without waiting for its time-outs.
int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  const auto* transfer = static_cast<const Transfer*>(user);
  return stopRequested(transfer->stop) ? 1 : 0;
}

// curl on its own would read a scheme-less text as an http address, and the caller's text is
// meant to be absolute: without an http or https scheme there is nothing to fetch.
bool isFetchableAddress(const std::string& encodedAddress) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), &curl_url_cleanup);
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, encodedAddress.c_str(), 0) != CURLUE_OK)
    return false;
  char* scheme = nullptr;
  if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) return false;
  const std::string schemeText = scheme;
  curl_free(scheme);
  return schemeText == "http" || schemeText == "https";
}

// Sets options one after another and remembers whether every one was taken: a transfer
// whose safety options were refused must not run.
class OptionSetter {
 public:
  explicit OptionSetter(CURL* easy) : easy_(easy) {}
  template <typename Value>
  void set(CURLoption option, Value value) {
    if (allSet_) allSet_ = curl_easy_setopt(easy_, option, value) == CURLE_OK;
  }
  bool allSet() const { return allSet_; }

 private:
  CURL* easy_;
  bool allSet_ = true;
};

HeaderList requestHeaders() {
  curl_slist* list = curl_slist_append(nullptr, "Content-Type: application/x-www-form-urlencoded");
  if (list) {
    curl_slist* extended = curl_slist_append(list, "Connection: close");
    if (!extended) curl_slist_free_all(list);
    list = extended;
  }
  return HeaderList(list, &curl_slist_free_all);
}

// The request itself: a plain GET with the two headers and no body, over HTTP/1.1, where
// "Connection: close" has its meaning.
bool setRequest(CURL* easy, const std::string& encodedAddress, curl_slist* headers) {
  OptionSetter options(easy);
  options.set(CURLOPT_URL, encodedAddress.c_str());
  options.set(CURLOPT_HTTPGET, 1L);
  options.set(CURLOPT_HTTPHEADER, headers);
  options.set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  options.set(CURLOPT_USERAGENT, kUserAgent);
  // Every coding curl can decode is offered; the body arrives decoded.
  options.set(CURLOPT_ACCEPT_ENCODING, "");
  return options.allSet();
}

// What keeps the transfer safe and bounded: only http/https (also after a redirect, so a
// server cannot point us at file:// or ftp://), verified TLS, a redirect limit, time-outs,
// and no signals, which threads must not get.
bool setLimits(CURL* easy) {
  OptionSetter options(easy);
  options.set(CURLOPT_PROTOCOLS_STR, "http,https");
  options.set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  options.set(CURLOPT_FOLLOWLOCATION, 1L);
  options.set(CURLOPT_MAXREDIRS, kMaxRedirects);
  options.set(CURLOPT_SSL_VERIFYPEER, 1L);
  options.set(CURLOPT_SSL_VERIFYHOST, 2L);
  options.set(CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  options.set(CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytesPerSecond);
  options.set(CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
  options.set(CURLOPT_NOSIGNAL, 1L);
  return options.allSet();
}

bool setCallbacks(CURL* easy, Transfer* transfer) {
  OptionSetter options(easy);
  options.set(CURLOPT_WRITEFUNCTION, &onBodyChunk);
  options.set(CURLOPT_WRITEDATA, static_cast<void*>(transfer));
  options.set(CURLOPT_XFERINFOFUNCTION, &onProgress);
  options.set(CURLOPT_XFERINFODATA, static_cast<void*>(transfer));
  options.set(CURLOPT_NOPROGRESS, 0L);
  return options.allSet();
}

// One GET of `address`, its body handed to `sink` chunk by chunk. True when a response
// arrived complete, whatever its status.
bool performGet(const std::string& address, const std::atomic<bool>* stop,
                const ChunkSink& sink) {
  if (stopRequested(stop)) return false;
  initialiseFetching();  // cheap after the first call; spares a caller that forgot it
  const std::string encodedAddress = encodeAddressForRequest(address);
  if (!isFetchableAddress(encodedAddress)) return false;

  EasyHandle easy(curl_easy_init(), &curl_easy_cleanup);
  HeaderList headers = requestHeaders();
  if (!easy || !headers) return false;
  Transfer transfer{stop, &sink};
  if (!setRequest(easy.get(), encodedAddress, headers.get()) || !setLimits(easy.get()) ||
      !setCallbacks(easy.get(), &transfer))
    return false;
  return curl_easy_perform(easy.get()) == CURLE_OK;
}

}  // namespace

void initialiseFetching() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

PageFetcher::PageFetcher(const std::atomic<bool>* stop, std::size_t inMemoryLimit)
    : stop_(stop), inMemoryLimit_(inMemoryLimit) {}

FetchResult PageFetcher::fetch(const std::string& address) const {
  FetchResult result;
  try {
    const ChunkSink collect = [&result, this](const char* data, std::size_t size) {
      if (size > inMemoryLimit_ - result.body.size()) return false;
      result.body.append(data, size);
      return true;
    };
    result.received = performGet(address, stop_, collect);
  } catch (...) {
    result.received = false;
  }
  if (!result.received) result.body.clear();
  return result;
}

StreamResult PageFetcher::fetchToDescriptor(const std::string& address, int fd) const {
  StreamResult result;
  try {
    const ChunkSink stream = [&result, fd](const char* data, std::size_t size) {
      if (!writeToDescriptor(fd, data, size)) return false;
      result.bytes += static_cast<std::int64_t>(size);
      return true;
    };
    result.received = performGet(address, stop_, stream);
  } catch (...) {
    result.received = false;
  }
  return result;
}

}  // namespace qz
