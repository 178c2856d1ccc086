#pragma once
// Fetching an address into memory: what the engine needs from HTTP (pictures named by an
// address, report forms, data pages). Implementations decide transport details (libcurl:
// http, https and file URLs).

#include <string>
#include <string_view>

namespace zr {

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // The body of a GET. Raises IoError naming the address on any failure (no connection,
  // an HTTP status of 400 or above, a malformed address).
  virtual std::string Get(std::string_view url) = 0;
};

}  // namespace zr
