#pragma once
// HttpClient over libcurl: GET into memory for http, https and file addresses, following
// redirects, with a 30-second connect timeout. Each Get is a transfer of its own (no
// connection or cookie is kept between calls). Not thread-safe: use one client per thread.

#include <string>
#include <string_view>

#include "platform/net/http_client.h"

namespace zr {

class CurlHttpClient : public HttpClient {
 public:
  CurlHttpClient();
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  // Raises IoError naming the address with curl's message (no connection, bad address,
  // missing file) or the HTTP status (400 and above), or when the body passes
  // kMaxBodyBytes.
  std::string Get(std::string_view url) override;

  static constexpr size_t kMaxBodyBytes = size_t{512} << 20;
  static constexpr long kConnectTimeoutSeconds = 30;
};

}  // namespace zr
