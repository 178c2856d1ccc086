#pragma once
// Writes a PDF file front to back: objects go out as they are finished and their offsets are
// kept for the cross-reference table written at the end. Nothing is rewritten.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

class PdfObjectWriter {
 public:
  // `out` must outlive the writer; the file starts where the stream stands.
  explicit PdfObjectWriter(std::ostream& out) : out_(out) {}

  // Bytes written so far.
  int64_t Size() const { return size_; }
  // Raises IoError when the stream fails.
  void Write(std::string_view bytes);

  // Object `number` starts at the current size.
  void MarkObject(int number) { MarkObject(number, size_); }
  void MarkObject(int number, int64_t offset);

  // number + " 0 obj\n" + body + "\n" (+ "endobj\n" when `close`). A body holding a line
  // feed is enclosed in "<<\n" ... "\n>>".
  void WriteObject(const std::string& body, int number, bool close = true);

  // The table for objects 0 .. highest (20-byte entries), then the trailer naming the
  // catalogue and the information object.
  void WriteCrossReference(int highest, int root, int info);

 private:
  std::ostream& out_;
  int64_t size_ = 0;
  std::vector<int64_t> offsets_;  // by object number; -1 = not written
};

}  // namespace zr
