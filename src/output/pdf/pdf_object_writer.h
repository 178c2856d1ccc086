#pragma once
// Writes a PDF file front to back: objects go out as they are finished and their offsets are
// kept for the cross-reference table written at the end. Nothing is rewritten.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zr {

// Objects written into memory, to be appended to the file later (a page made on another
// thread): the bytes and where each object starts inside them.
struct PdfChunk {
  std::string bytes;
  std::vector<std::pair<int, size_t>> objects;  // object number, offset in `bytes`

  // As PdfObjectWriter::WriteObject, into the chunk.
  void WriteObject(std::string_view body, int number, bool close = true);
  void MarkObject(int number) { objects.emplace_back(number, bytes.size()); }
};

// number + " 0 obj\n" + body + "\n" (+ "endobj\n" when `close`), a body holding a line feed
// enclosed in "<<\n" ... "\n>>", appended to `out`.
void AppendObject(std::string& out, std::string_view body, int number, bool close);

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
  void WriteObject(std::string_view body, int number, bool close = true);

  // The chunk's bytes at the current size, its objects marked where they land.
  void Append(const PdfChunk& chunk);

  // The table for objects 0 .. highest (20-byte entries), then the trailer naming the
  // catalogue and the information object.
  void WriteCrossReference(int highest, int root, int info);

 private:
  std::ostream& out_;
  int64_t size_ = 0;
  std::vector<int64_t> offsets_;  // by object number; -1 = not written
};

}  // namespace zr
