#include "output/pdf/pdf_object_writer.h"

#include <cstdio>
#include <ostream>

#include "output/pdf/pdf_syntax.h"
#include "platform/errors.h"

namespace zr {

void PdfObjectWriter::Write(std::string_view bytes) {
  out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out_) throw IoError("Cannot write the PDF file");
  size_ += static_cast<int64_t>(bytes.size());
}

void PdfObjectWriter::MarkObject(int number, int64_t offset) {
  if (number < 0) return;
  if (offsets_.size() <= static_cast<size_t>(number)) offsets_.resize(number + 1, -1);
  offsets_[static_cast<size_t>(number)] = offset;
}

void AppendObject(std::string& out, std::string_view body, int number, bool close) {
  const bool enclose = body.find('\n') != std::string_view::npos;
  AppendInt(out, number);
  out += " 0 obj\n";
  if (enclose) out += "<<\n";
  out += body;
  if (enclose) out += "\n>>";
  out += '\n';
  if (close) out += "endobj\n";
}

void PdfChunk::WriteObject(std::string_view body, int number, bool close) {
  MarkObject(number);
  AppendObject(bytes, body, number, close);
}

void PdfObjectWriter::WriteObject(std::string_view body, int number, bool close) {
  MarkObject(number);
  std::string text;
  AppendObject(text, body, number, close);
  Write(text);
}

void PdfObjectWriter::Append(const PdfChunk& chunk) {
  for (const auto& [number, offset] : chunk.objects)
    MarkObject(number, size_ + static_cast<int64_t>(offset));
  Write(chunk.bytes);
}

void PdfObjectWriter::WriteCrossReference(int highest, int root, int info) {
  const int64_t start = size_;
  std::string text = "xref\n0 " + std::to_string(highest + 1) + "\n";
  char entry[40];
  std::snprintf(entry, sizeof entry, "%.10d %.5d %s \n", 0, 65535, "f");
  text += entry;
  for (int number = 1; number <= highest; ++number) {
    const size_t index = static_cast<size_t>(number);
    const int64_t offset = index < offsets_.size() ? offsets_[index] : -1;
    // Every allocated number is written; should one not be, it is listed as free rather than
    // pointing readers at byte 0.
    if (offset < 0)
      std::snprintf(entry, sizeof entry, "%.10d %.5d %s \n", 0, 65535, "f");
    else
      std::snprintf(entry, sizeof entry, "%.10lld %.5d %s \n", static_cast<long long>(offset), 0,
                    "n");
    text += entry;
    if (text.size() > 1 << 16) {
      Write(text);
      text.clear();
    }
  }
  text += "trailer\n<<\n/Root " + PdfRef(root) + "\n/Info " + PdfRef(info) + "\n/Size " +
          std::to_string(highest + 1) + "\n>>\nstartxref\n" + std::to_string(start) + "\n%%EOF";
  Write(text);
}

}  // namespace zr
