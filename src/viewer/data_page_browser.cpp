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
    const auto until = std::chrono::steady_clock::now() + duration;
    transfer_->Poll(duration);
    // A transfer that finished early still leaves the rest of the tick to sleep.
    std::this_thread::sleep_until(until);
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
