#pragma once
// The export filters placed on the control's form (expPdf ... expCsv, and expXlsx after
// them) and the ImageType table that picks one of them for SaveImage and SendEMail.
//
// Every format has a slot; a slot whose filter type is not built yet holds no filter, and an
// export to it writes nothing (the caller says so in Log). Filters are created with the
// form's settings (Default true, ShowDialog false, Creator ...) and register themselves in
// the engine's filter registry, so the engine state (TvtGlobals) must be installed while a
// set is created and destroyed.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/export_filter.h"

namespace zr {

// The formats in the order of the ImageType argument.
enum class ExportFormat { Pdf, Rtf, Html, Jpeg, Gif, Bmp, Emf, Wmf, Text, Csv, Xlsx };

inline constexpr int kImageTypeCount = 11;

struct ExportFormatInfo {
  ExportFormat format;
  std::string_view component;  // the filter's component name on the form
  std::string_view title;      // "PDF", used in messages
  std::string_view extension;  // the default file extension, without the dot
};

// The ImageType table: entry n describes ImageType n.
const std::array<ExportFormatInfo, kImageTypeCount>& image_types();
// The entry of `image_type`; null outside 0-10.
const ExportFormatInfo* image_type_info(int image_type);

// "<title> export is not available": what Log says for a slot without a filter.
std::string export_not_available_message(ExportFormat format);

class ExportFilterSet {
 public:
  // Creates every filter type that is built, with the form's settings.
  ExportFilterSet();
  ~ExportFilterSet();
  ExportFilterSet(const ExportFilterSet&) = delete;
  ExportFilterSet& operator=(const ExportFilterSet&) = delete;

  // The filter of that format; null when its type is not built.
  TvtExportFilter* filter(ExportFormat format) const;
  // Puts `filter` into the slot (a host or a test supplying a format); null empties it.
  void set_filter(ExportFormat format, std::unique_ptr<TvtExportFilter> filter);

  // The files the format's filter wrote in its last export, main file first (HTML: its HTML
  // files, then its pictures; the image formats: one file per page). Empty when the filter
  // keeps no such list.
  std::vector<std::string> files_written(ExportFormat format) const;
  // Lets a filter type report the files it wrote.
  void set_files_written(ExportFormat format, std::function<std::vector<std::string>()> list);

  // The component names in the order the form creates them: expPdf, expHtml, expRtf,
  // expJpg, expGif, expBmp, expEmf, expWmf, expText, expCsv, expXlsx.
  static std::vector<std::string_view> creation_order();

 private:
  struct Slot {
    std::unique_ptr<TvtExportFilter> filter;
    std::function<std::vector<std::string>()> files_written;
  };
  std::array<Slot, kImageTypeCount> slots_;
};

}  // namespace zr
