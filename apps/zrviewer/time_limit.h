#pragma once
// --time-limit: the longest a whole zrviewer run may take. When the time is up the progress
// window is cancelled, as a person at the screen would cancel it, so that a preparation that
// does not end (a script looping for ever) stops at its next step and the run ends in the
// ordinary way. A run still going a moment later (a download that hangs, an export, which
// the cancel does not stop) is ended at once: the Log line is written and the process exits
// with status 1.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace zr::host {

class TimeLimit {
 public:
  // How long after the limit a run that has not stopped is ended at once.
  static constexpr std::chrono::milliseconds kGrace{1000};

  // Starts the watch. `cancel` is called on the watch's own thread when the time is up and
  // must be safe there; `out` gets the Log line when the process is ended. Both must outlive
  // this object.
  TimeLimit(double seconds, std::function<void()> cancel, std::ostream& out);
  // Stops the watch (without ending anything).
  ~TimeLimit();
  TimeLimit(const TimeLimit&) = delete;
  TimeLimit& operator=(const TimeLimit&) = delete;

  // The run has ended: from now on the watch ends nothing. Returns whether the time was up.
  bool finish();

  // The Log text of a run that took too long: "Time limit of 2.5 s reached".
  std::string log_text() const;

 private:
  void watch(std::chrono::steady_clock::time_point deadline);

  double seconds_;
  std::function<void()> cancel_;
  std::ostream& out_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool finished_ = false;
  bool expired_ = false;
  std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace zr::host
