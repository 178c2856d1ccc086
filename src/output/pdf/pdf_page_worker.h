#pragma once
// Runs the PDF export's page jobs on a thread of their own, one after another in the order
// they were given, while the caller walks the next pages. A job turns a page's records into
// finished PDF objects (formatted and compressed); the caller takes the results back in the
// same order and writes them, so the file never sees the worker.
//
// At most `limit` jobs are queued or running: Submit waits for room, which keeps memory to
// a few pages. A job that raises hands its exception to the caller, rethrown by the Take
// call that reaches it. The destructor waits for the running job and drops the rest.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "output/pdf/pdf_object_writer.h"

namespace zr {

class PdfPageWorker {
 public:
  using Job = std::function<PdfChunk()>;

  explicit PdfPageWorker(size_t limit = 2);
  ~PdfPageWorker();
  PdfPageWorker(const PdfPageWorker&) = delete;
  PdfPageWorker& operator=(const PdfPageWorker&) = delete;

  // Queues `job`, waiting while `limit` jobs are pending.
  void Submit(Job job);
  // Hands every finished result, in order, to `sink`; with `all`, waits for every job first.
  // Rethrows the exception of a failed job (the jobs after it are dropped).
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

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Slot> slots_;  // oldest first; the running one is the first not done
  size_t limit_;
  uint64_t next_id_ = 0;
  bool stopping_ = false;
  std::thread thread_;  // last: started when everything else is ready
};

}  // namespace zr
