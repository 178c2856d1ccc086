#include "platform/net/curl_http_session.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "platform/errors.h"

namespace zr {

namespace {

void init_curl_once() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct MultiDeleter {
  void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
struct ShareDeleter {
  void operator()(CURLSH* handle) const { curl_share_cleanup(handle); }
};
struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;
using ShareHandle = std::unique_ptr<CURLSH, ShareDeleter>;
using HeaderList = std::unique_ptr<curl_slist, SlistDeleter>;

}  // namespace

// The cookie jar every transfer of a session shares. Transfers hold it too, so a transfer
// outliving its session stays valid.
struct CurlHttpSession::Shared {
  ShareHandle share;
  Shared() : share(curl_share_init()) {
    if (!share) throw IoError("Cannot start the HTTP client");
    curl_share_setopt(share.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
};

class HttpTransfer::Impl {
 public:
  Impl(std::string url, const HttpSessionOptions& options,
       std::shared_ptr<CurlHttpSession::Shared> shared, HttpWorkHandler on_work)
      : url_(std::move(url)),
        max_body_(options.max_body_bytes),
        shared_(std::move(shared)),
        on_work_(std::move(on_work)) {
    easy_.reset(curl_easy_init());
    multi_.reset(curl_multi_init());
    if (!easy_ || !multi_) throw IoError("Cannot start a transfer for " + url_);
    for (const std::string& header : options.headers) {
      curl_slist* list = curl_slist_append(headers_.get(), header.c_str());
      if (!list) throw IoError("Cannot start a transfer for " + url_);
      headers_.release();
      headers_.reset(list);
    }
    CURL* h = easy_.get();
    curl_easy_setopt(h, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https,file");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, options.connect_timeout_seconds);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    if (options.stall_timeout_seconds > 0) {
      curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
      curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, options.stall_timeout_seconds);
    }
    curl_easy_setopt(h, CURLOPT_SHARE, shared_->share.get());
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");  // turns the cookie engine on, no file
    if (!options.user_agent.empty())
      curl_easy_setopt(h, CURLOPT_USERAGENT, options.user_agent.c_str());
    if (headers_) curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers_.get());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Impl::append_body);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &Impl::progress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, message_);
    if (curl_multi_add_handle(multi_.get(), h) != CURLM_OK)
      throw IoError("Cannot start a transfer for " + url_);
    added_ = true;
  }

  ~Impl() {
    // Removing an unfinished handle aborts the transfer and closes its connection.
    if (added_) curl_multi_remove_handle(multi_.get(), easy_.get());
  }

  bool Poll(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!finished_) {
      int running = 0;
      if (curl_multi_perform(multi_.get(), &running) != CURLM_OK) {
        finish(CURLE_FAILED_INIT);
        break;
      }
      collect_result();
      if (finished_) break;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      curl_multi_poll(multi_.get(), nullptr, 0, static_cast<int>(left.count()), nullptr);
    }
    return finished_;
  }

  bool finished() const { return finished_; }

  std::string TakeBody() {
    if (!finished_) throw ZorelError("The transfer of " + url_ + " has not finished");
    if (too_large_) throw IoError("Download of " + url_ + " is too large");
    if (result_ != CURLE_OK) {
      const std::string reason = message_[0] ? message_ : curl_easy_strerror(result_);
      throw IoError("Cannot get " + url_ + ": " + reason);
    }
    long status = 0;
    curl_easy_getinfo(easy_.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400)
      throw IoError("Cannot get " + url_ + ": HTTP status " + std::to_string(status));
    return std::move(body_);
  }

 private:
  static size_t append_body(char* data, size_t size, size_t count, void* user) {
    auto* self = static_cast<Impl*>(user);
    const size_t n = size * count;
    if (self->body_.size() + n > self->max_body_) {
      self->too_large_ = true;
      return 0;  // curl stops with a write error
    }
    self->body_.append(data, n);
    return n;
  }

  static int progress(void* user, curl_off_t, curl_off_t now, curl_off_t, curl_off_t) {
    auto* self = static_cast<Impl*>(user);
    if (self->on_work_ && now != self->reported_) {
      self->reported_ = now;
      self->on_work_(static_cast<int64_t>(now));
    }
    return 0;
  }

  void collect_result() {
    int left = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi_.get(), &left))
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy_.get()) finish(msg->data.result);
  }

  void finish(CURLcode result) {
    result_ = result;
    finished_ = true;
    curl_multi_remove_handle(multi_.get(), easy_.get());
    added_ = false;
  }

  std::string url_;
  size_t max_body_;
  std::shared_ptr<CurlHttpSession::Shared> shared_;  // outlives the easy handle below
  HttpWorkHandler on_work_;
  HeaderList headers_;
  MultiHandle multi_;
  EasyHandle easy_;
  char message_[CURL_ERROR_SIZE] = {};
  std::string body_;
  curl_off_t reported_ = -1;
  CURLcode result_ = CURLE_OK;
  bool finished_ = false;
  bool too_large_ = false;
  bool added_ = false;
};

HttpTransfer::HttpTransfer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
HttpTransfer::~HttpTransfer() = default;

bool HttpTransfer::Poll(std::chrono::milliseconds wait) {
  return impl_->Poll(wait);
}

bool HttpTransfer::finished() const {
  return impl_->finished();
}

std::string HttpTransfer::TakeBody() {
  return impl_->TakeBody();
}

CurlHttpSession::CurlHttpSession(HttpSessionOptions options) : options_(std::move(options)) {
  init_curl_once();
  shared_ = std::make_shared<Shared>();
}

CurlHttpSession::~CurlHttpSession() = default;

std::unique_ptr<HttpTransfer> CurlHttpSession::Start(std::string_view url,
                                                     HttpWorkHandler on_work) {
  return std::make_unique<HttpTransfer>(std::make_unique<HttpTransfer::Impl>(
      std::string(url), options_, shared_, std::move(on_work)));
}

std::string CurlHttpSession::Get(std::string_view url) {
  using Clock = std::chrono::steady_clock;
  std::unique_ptr<HttpTransfer> transfer = Start(url, OnWork);
  const bool limited = time_limit_.count() > 0;
  const Clock::time_point deadline = Clock::now() + time_limit_;
  for (;;) {
    std::chrono::milliseconds wait(1000);
    if (limited) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) break;
      wait = std::min(wait, left);
    }
    if (transfer->Poll(wait)) return transfer->TakeBody();
  }
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f", time_limit_.count() / 1000.0);
  const std::string message =
      "Cannot get " + std::string(url) + ": no answer within " + seconds + " s";
  transfer.reset();  // aborts it and closes its connection
  if (OnGiveUp) OnGiveUp(message);
  throw IoError(message);
}

void CurlHttpSession::ClearCookies() {
  EasyHandle easy(curl_easy_init());
  if (!easy) return;
  curl_easy_setopt(easy.get(), CURLOPT_SHARE, shared_->share.get());
  curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, "ALL");
}

}  // namespace zr
