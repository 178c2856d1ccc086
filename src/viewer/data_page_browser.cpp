#include "viewer/data_page_browser.h"

#include <thread>

#include "platform/errors.h"

namespace zr {

void DataPageBrowser::Navigate(const std::string& url) {
  transfer_.reset();
  reported_ = false;
  failure_.clear();
  transfer_ = session_.Start(url);
}

void DataPageBrowser::Wait(std::chrono::milliseconds duration) {
  if (transfer_ && !transfer_->finished()) {
    // A transfer that finishes early ends the tick: the owner sees the page at once rather
    // than at the tick's end (a tick still counts whole towards the time-out).
    transfer_->Poll(duration);
    return;
  }
  std::this_thread::sleep_for(duration);
}

void DataPageBrowser::ProcessEvents() {
  if (!transfer_ || reported_) return;
  if (!transfer_->finished()) transfer_->Poll(std::chrono::milliseconds(0));
  if (!transfer_->finished()) return;
  reported_ = true;
  std::optional<std::string> page;
  try {
    page = transfer_->TakeBody();
  } catch (const ZorelError& e) {
    // A failed navigation completes without a document.
    failure_ = e.what();
  }
  if (on_complete_) on_complete_(page);
}

}  // namespace zr
