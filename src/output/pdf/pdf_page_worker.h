#pragma once
// Runs the PDF export's page jobs on threads of their own while the caller walks the next
// pages. A job has two parts: the first numbers the page's objects and formats its content,
// and runs for one page after another in the order the pages were given (object numbers are
// handed out in page order); the second compresses the content and assembles the objects,
// and runs for several pages at once. The caller takes the finished objects back in page
// order and writes them, so the file never sees the workers.
//
// At most `limit` jobs are queued or running: Submit waits for room, which keeps memory to
// a few pages. A job that raises hands its exception to the caller, rethrown by the Take
// call that reaches it. The destructor lets the running parts end and drops the rest.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "output/pdf/pdf_object_writer.h"

namespace zr {

class PdfPageWorker {
 public:
  // The second part of a job: may run beside other pages' second parts.
  using Finish = std::function<PdfChunk()>;
  // The first part: runs in page order and returns the second.
  using Job = std::function<Finish()>;

  explicit PdfPageWorker(size_t threads = 2, size_t limit = 4);
  ~PdfPageWorker();
  PdfPageWorker(const PdfPageWorker&) = delete;
  PdfPageWorker& operator=(const PdfPageWorker&) = delete;

  // Queues `job`, waiting while `limit` jobs are pending.
  void Submit(Job job);
  // Hands every finished result, in order, to `sink`; with `all`, waits for every job first.
  // Rethrows the exception of a failed job.
  void Take(const std::function<void(PdfChunk&)>& sink, bool all);

 private:
  struct Slot {
    uint64_t id = 0;
    Job job;
    bool started = false;
    bool done = false;
    PdfChunk result;
    std::exception_ptr error;
  };
  void Run();
  size_t Pending() const;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Slot> slots_;  // oldest first
  size_t limit_;
  uint64_t next_id_ = 0;
  uint64_t turn_ = 0;  // the job whose first part runs next
  bool stopping_ = false;
  std::vector<std::thread> threads_;  // last: started when everything else is ready
};

}  // namespace zr
