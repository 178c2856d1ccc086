#pragma once
// The invisible browser a load uses to fetch its data page. It fetches the address with the
// control's HTTP session and, like a browser, signals completion once through its
// document-complete handler, which gets the page's text (what a browser saves of its
// document). A page that could not be fetched (no connection, an HTTP error status) still
// completes, with no text: the browser has no document worth saving.
//
// The fetch moves only while the owner waits (Wait) and the handler runs only when the owner
// processes events (ProcessEvents), so the owner's polling loop keeps control of time and can
// give up at any tick. Destroying the browser aborts an unfinished fetch. Single-threaded.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/net/curl_http_session.h"

namespace zr {

class DataPageBrowser {
 public:
  // Called once per completed navigation; `page` is empty when nothing could be fetched.
  using DocumentCompleteHandler = std::function<void(const std::optional<std::string>& page)>;

  // `session` is not owned and must outlive the browser.
  explicit DataPageBrowser(CurlHttpSession& session) : session_(session) {}
  DataPageBrowser(const DataPageBrowser&) = delete;
  DataPageBrowser& operator=(const DataPageBrowser&) = delete;

  void set_document_complete(DocumentCompleteHandler handler) { on_complete_ = std::move(handler); }

  // Starts fetching `url`, dropping a navigation still in progress. Raises only when the
  // transfer cannot be set up at all.
  void Navigate(const std::string& url);
  // Lets the fetch move on for `duration` (the owner's sleep between ticks).
  void Wait(std::chrono::milliseconds duration);
  // Runs the document-complete handler when the fetch has finished and has not been
  // reported yet.
  void ProcessEvents();

  // Why the last completed navigation brought no page (the fetch's error message, naming the
  // address); empty when it brought one or has not completed.
  const std::string& failure() const { return failure_; }

 private:
  CurlHttpSession& session_;
  DocumentCompleteHandler on_complete_;
  std::unique_ptr<HttpTransfer> transfer_;
  bool reported_ = false;
  std::string failure_;
};

}  // namespace zr
