#include "output/pdf/pdf_document_info.h"

#include <cstdio>
#include <cstdlib>

#include "output/pdf/pdf_syntax.h"
#include "platform/date_time.h"

namespace zr {

std::string PdfTimeZone(int bias_minutes) {
  // The sign comes from the bias and the parts from its magnitude, so a zone less than an
  // hour west of UTC still reads as a valid offset (-00'30').
  const int magnitude = std::abs(bias_minutes);
  char text[32];
  std::snprintf(text, sizeof text, "%c%.2d'%.2d'", bias_minutes > 0 ? '-' : '+', magnitude / 60,
                magnitude % 60);
  return text;
}

std::string PdfDocumentInfoBody(const PdfDocumentInfo& info) {
  std::string body =
      "/Author (" + PdfString(info.Author) +
      ")\n/CreationDate (D:" + format_date_time("yyyymmddhhnnss", info.CreationDate) +
      PdfTimeZone(info.TimeZoneBias) + ")\n/Keywords (" + PdfString(info.Keywords) +
      ")\n/Creator (" + PdfString(info.Creator) + ")\n/Title (" + PdfString(info.Title) + ")\n";
  if (!info.Subject.empty()) body += "/Subject (" + PdfString(info.Subject) + ")\n";
  return body + "/Producer (Zorel)";
}

}  // namespace zr
