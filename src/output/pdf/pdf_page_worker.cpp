#include "output/pdf/pdf_page_worker.h"

namespace zr {

PdfPageWorker::PdfPageWorker(size_t threads, size_t limit) : limit_(limit < 1 ? 1 : limit) {
  for (size_t i = 0; i < (threads < 1 ? 1 : threads); ++i) threads_.emplace_back([this] { Run(); });
}

PdfPageWorker::~PdfPageWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

size_t PdfPageWorker::Pending() const {
  size_t pending = 0;
  for (const Slot& slot : slots_) pending += slot.done ? 0 : 1;
  return pending;
}

void PdfPageWorker::Submit(Job job) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return Pending() < limit_; });
  Slot slot;
  slot.id = next_id_++;
  slot.job = std::move(job);
  slots_.push_back(std::move(slot));
  lock.unlock();
  changed_.notify_all();
}

void PdfPageWorker::Take(const std::function<void(PdfChunk&)>& sink, bool all) {
  for (;;) {
    std::unique_lock lock(mutex_);
    if (all) changed_.wait(lock, [this] { return slots_.empty() || slots_.front().done; });
    if (slots_.empty() || !slots_.front().done) return;
    Slot slot = std::move(slots_.front());
    slots_.pop_front();
    lock.unlock();
    changed_.notify_all();
    if (slot.error) std::rethrow_exception(slot.error);
    sink(slot.result);
  }
}

void PdfPageWorker::Run() {
  for (;;) {
    Job job;
    uint64_t id = 0;
    {
      std::unique_lock lock(mutex_);
      auto next = [this]() -> Slot* {
        for (Slot& slot : slots_)
          if (!slot.started) return &slot;
        return nullptr;
      };
      changed_.wait(lock, [&] { return stopping_ || next() != nullptr; });
      if (stopping_) return;
      Slot* slot = next();
      slot->started = true;
      job = std::move(slot->job);
      id = slot->id;
      // Jobs are taken in order, so the first parts run in order too.
      changed_.wait(lock, [&] { return stopping_ || turn_ == id; });
      if (stopping_) return;
    }
    Finish finish;
    std::exception_ptr error;
    try {
      finish = job();
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard lock(mutex_);
      ++turn_;
    }
    changed_.notify_all();
    PdfChunk result;
    if (!error) {
      try {
        result = finish();
      } catch (...) {
        error = std::current_exception();
      }
    }
    {
      std::lock_guard lock(mutex_);
      for (Slot& slot : slots_) {
        if (slot.id != id) continue;
        slot.done = true;
        slot.result = std::move(result);
        slot.error = error;
        break;
      }
    }
    changed_.notify_all();
  }
}

}  // namespace zr
