#include "time_limit.h"

#include <cstdlib>
#include <sstream>

namespace zr::host {

TimeLimit::TimeLimit(double seconds, std::function<void()> cancel, std::ostream& out)
    : seconds_(seconds), cancel_(std::move(cancel)), out_(out) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(seconds));
  thread_ = std::thread([this, deadline] { watch(deadline); });
}

TimeLimit::~TimeLimit() {
  finish();
  thread_.join();
}

bool TimeLimit::finish() {
  std::lock_guard<std::mutex> lock(mutex_);
  finished_ = true;
  wake_.notify_all();
  return expired_;
}

std::string TimeLimit::log_text() const {
  std::ostringstream text;
  text << "Time limit of " << seconds_ << " s reached";
  return text.str();
}

void TimeLimit::watch(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (wake_.wait_until(lock, deadline, [this] { return finished_; })) return;
  expired_ = true;
  lock.unlock();
  cancel_();
  lock.lock();
  if (wake_.wait_until(lock, deadline + kGrace, [this] { return finished_; })) return;
  // Still running: nothing the run does can be waited for any more. The lock is kept, so
  // the run's own output cannot start now.
  out_ << "Log: " << log_text() << std::endl;
  std::_Exit(1);
}

}  // namespace zr::host
