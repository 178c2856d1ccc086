#pragma once
// The document information object of a PDF export.

#include <string>

namespace zr {

// The offset from UTC of a time-zone bias in minutes (UTC = local + bias), as PDF dates carry
// it: -540 -> "+09'00'", 210 -> "-03'30'", 0 -> "+00'00'".
std::string PdfTimeZone(int bias_minutes);

struct PdfDocumentInfo {
  std::string Author, Keywords, Creator, Title, Subject;  // ANSI bytes
  double CreationDate = 0;                                // local date and time as days
  int TimeZoneBias = 0;
};

// The object's body: Author, CreationDate, Keywords, Creator, Title, Subject (only when not
// empty), Producer; the values escaped.
std::string PdfDocumentInfoBody(const PdfDocumentInfo& info);

}  // namespace zr
