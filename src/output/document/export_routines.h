#pragma once
// Small routines the document exporters share.

#include <cstdint>
#include <string>
#include <string_view>

#include "output/document/document_records.h"
#include "platform/canvas/geometry.h"

namespace zr {

class Bitmap;

// Width and height of `text` (ANSI) in `font`, measured on the display (the engine's fonts).
Size DocumentTextExtent(std::string_view text, const TOxvtFontInfo& font);

// Replaces every occurrence of `from` (ignoring ASCII case) by `to`; an empty `from` changes
// nothing.
std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view from, std::string_view to);

// "RRGGBB" in upper-case hexadecimal, system colours resolved ("no colour" gives white).
std::string ColorToHex(int32_t color);

// When `width` is smaller than `text_width`, the first ceil(width * length / text_width)
// bytes; a double-byte character is not split (it is dropped whole).
std::string TruncateProportionally(const std::string& text, double width, double text_width);

// "report0003.jpg" for ("/out/report.html", 3, "jpg"): the output's base name (folder and
// extension removed), the number in four digits, a dot and the extension.
std::string PageFileName(std::string_view file_name, int number, std::string_view extension);
// "report_I0012.gif": the same for the pictures of a document.
std::string PictureFileName(std::string_view file_name, int number, std::string_view extension);

// `folder` with a trailing path separator.
std::string IncludeTrailingSeparator(std::string folder);
// Deletes the file when it exists; failures are ignored.
void DeleteFileIfExists(const std::string& path);

// "OxVTExportFilters V1.2 for Vantor (<address>)": the producer the HTML and RTF files name.
std::string ExportProducer();

// A JFIF (baseline) of `bitmap` at `quality` (1-100, clamped).
std::string BitmapToJpeg(const Bitmap& bitmap, int quality);

}  // namespace zr
