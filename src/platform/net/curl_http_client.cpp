#include "platform/net/curl_http_client.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "platform/errors.h"

namespace zr {

namespace {

struct CurlDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

struct Body {
  std::string bytes;
  bool too_large = false;
};

size_t append_body(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const size_t n = size * count;
  if (body->bytes.size() + n > CurlHttpClient::kMaxBodyBytes) {
    body->too_large = true;
    return 0;  // makes curl stop with a write error
  }
  body->bytes.append(data, n);
  return n;
}

// curl_global_init is not thread-safe in older libcurl versions; do it once.
void init_curl_once() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

CurlHttpClient::CurlHttpClient() {
  init_curl_once();
}

CurlHttpClient::~CurlHttpClient() = default;

std::string CurlHttpClient::Get(std::string_view url) {
  const std::string address(url);
  CurlHandle curl(curl_easy_init());
  if (!curl) throw IoError("Cannot start a transfer for " + address);
  Body body;
  char message[CURL_ERROR_SIZE] = {};
  CURL* h = curl.get();
  curl_easy_setopt(h, CURLOPT_URL, address.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https,file");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 20L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, append_body);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, message);

  const CURLcode result = curl_easy_perform(h);
  if (body.too_large) throw IoError("Download of " + address + " is too large");
  if (result != CURLE_OK) {
    const std::string reason = message[0] ? message : curl_easy_strerror(result);
    throw IoError("Cannot get " + address + ": " + reason);
  }
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  if (status >= 400)
    throw IoError("Cannot get " + address + ": HTTP status " + std::to_string(status));
  return std::move(body.bytes);
}

}  // namespace zr
