#include "viewer/export_filter_set.h"

#include "output/html/html_export.h"
#include "output/image/bitmap_exports.h"
#include "output/image/metafile_exports.h"
#include "output/pdf/pdf_export.h"
#include "output/rtf/rtf_export.h"
#include "output/text/csv_export.h"
#include "output/text/text_export.h"
#include "output/xlsx/xlsx_export.h"

namespace zr {

namespace {

// The form creates its filters in this order, which is also the order they join the
// engine's registry.
constexpr std::array<ExportFormat, kImageTypeCount> kCreationOrder = {
    ExportFormat::Pdf,  ExportFormat::Html, ExportFormat::Rtf, ExportFormat::Jpeg,
    ExportFormat::Gif,  ExportFormat::Bmp,  ExportFormat::Emf, ExportFormat::Wmf,
    ExportFormat::Text, ExportFormat::Csv,  ExportFormat::Xlsx};

size_t slot_of(ExportFormat format) {
  return static_cast<size_t>(format);
}

// A filter created with the settings every filter on the form has: Default on, and never an
// options dialog.
template <typename Filter>
std::unique_ptr<TvtExportFilter> make_filter(const std::function<void(Filter&)>& settings = {}) {
  auto filter = std::make_unique<Filter>();
  filter->Default = true;
  filter->ShowDialog = false;
  if (settings) settings(*filter);
  return filter;
}

template <typename Filter>
void unit_scales(Filter& filter) {
  filter.ScaleX = filter.ScaleY = 1;
}

// The files a filter wrote in its last export, for the mail attachments.
std::function<std::vector<std::string>()> files_written_by(const TvtExportFilter* filter) {
  if (auto* graphic = dynamic_cast<const TOxvtGraphicExport*>(filter))
    return [graphic] { return graphic->FilesWritten(); };
  if (auto* html = dynamic_cast<const TOxvtHTMLExport*>(filter))
    return [html] {
      std::vector<std::string> files = html->HtmlFiles();
      for (std::string& picture : html->PictureFiles()) files.push_back(std::move(picture));
      return files;
    };
  return {};
}

// One line per built filter type; the others stay empty.
std::unique_ptr<TvtExportFilter> create_filter(ExportFormat format) {
  switch (format) {
    case ExportFormat::Pdf:
      return make_filter<TOxvtPDFExport>([](TOxvtPDFExport& f) { f.Creator = "Nabo"; });
    case ExportFormat::Rtf:
      return make_filter<TOxvtRTFExport>([](TOxvtRTFExport& f) {
        f.Creator = "Nabo";
        f.SetExportImageFormat(ifJPG);
      });
    case ExportFormat::Html:
      return make_filter<TOxvtHTMLExport>([](TOxvtHTMLExport& f) {
        f.Creator = "nabo";
        f.SetExportImageFormat(ifGIF);
        f.LinkFont = TOxvtLinkFont{"Wingdings", 18, 0xFF0000, 0};  // height -24 at 96 dpi
      });
    case ExportFormat::Jpeg:
      return make_filter<TOxvtJPEGExport>(unit_scales<TOxvtJPEGExport>);
    case ExportFormat::Gif:
      return make_filter<TOxvtGIFExport>(unit_scales<TOxvtGIFExport>);
    case ExportFormat::Bmp:
      return make_filter<TOxvtBMPExport>(unit_scales<TOxvtBMPExport>);
    case ExportFormat::Emf:
      return make_filter<TOxvtEMFExport>(unit_scales<TOxvtEMFExport>);
    case ExportFormat::Wmf:
      return make_filter<TOxvtWMFExport>(unit_scales<TOxvtWMFExport>);
    case ExportFormat::Text:
      return make_filter<TvtTextExport>([](TvtTextExport& f) {
        f.ScaleX = f.ScaleY = 1;
        f.UsePseudographic = true;
      });
    case ExportFormat::Csv:
      return make_filter<TvtCSVExport>([](TvtCSVExport& f) {
        f.ScaleX = f.ScaleY = 1;
        f.UsePseudographic = true;
        f.Delimiter = ',';
      });
    case ExportFormat::Xlsx:
      return make_filter<TOxvtXLSXExport>();
    default:
      return nullptr;
  }
}

}  // namespace

const std::array<ExportFormatInfo, kImageTypeCount>& image_types() {
  static const std::array<ExportFormatInfo, kImageTypeCount> table = {{
      {ExportFormat::Pdf, "expPdf", "PDF", "pdf"},
      {ExportFormat::Rtf, "expRtf", "RTF", "rtf"},
      {ExportFormat::Html, "expHtml", "HTML", "htm"},
      {ExportFormat::Jpeg, "expJpg", "JPEG", "jpg"},
      {ExportFormat::Gif, "expGif", "GIF", "gif"},
      {ExportFormat::Bmp, "expBmp", "BMP", "bmp"},
      {ExportFormat::Emf, "expEmf", "EMF", "emf"},
      {ExportFormat::Wmf, "expWmf", "WMF", "wmf"},
      {ExportFormat::Text, "expText", "Text", "txt"},
      {ExportFormat::Csv, "expCsv", "CSV", "csv"},
      {ExportFormat::Xlsx, "expXlsx", "Excel", "xlsx"},
  }};
  return table;
}

const ExportFormatInfo* image_type_info(int image_type) {
  if (image_type < 0 || image_type >= kImageTypeCount) return nullptr;
  return &image_types()[static_cast<size_t>(image_type)];
}

std::string export_not_available_message(ExportFormat format) {
  return std::string(image_types()[slot_of(format)].title) + " export is not available";
}

ExportFilterSet::ExportFilterSet() {
  for (ExportFormat format : kCreationOrder) {
    Slot& slot = slots_[slot_of(format)];
    slot.filter = create_filter(format);
    slot.files_written = files_written_by(slot.filter.get());
  }
}

ExportFilterSet::~ExportFilterSet() {
  // Filters leave the registry in the reverse order of their creation.
  for (auto it = kCreationOrder.rbegin(); it != kCreationOrder.rend(); ++it)
    slots_[slot_of(*it)].filter.reset();
}

TvtExportFilter* ExportFilterSet::filter(ExportFormat format) const {
  return slots_[slot_of(format)].filter.get();
}

void ExportFilterSet::set_filter(ExportFormat format, std::unique_ptr<TvtExportFilter> filter) {
  Slot& slot = slots_[slot_of(format)];
  slot.files_written = files_written_by(filter.get());
  slot.filter = std::move(filter);
}

std::vector<std::string> ExportFilterSet::files_written(ExportFormat format) const {
  const Slot& slot = slots_[slot_of(format)];
  if (!slot.filter || !slot.files_written) return {};
  return slot.files_written();
}

void ExportFilterSet::set_files_written(ExportFormat format,
                                        std::function<std::vector<std::string>()> list) {
  slots_[slot_of(format)].files_written = std::move(list);
}

std::vector<std::string_view> ExportFilterSet::creation_order() {
  std::vector<std::string_view> names;
  for (ExportFormat format : kCreationOrder)
    names.push_back(image_types()[slot_of(format)].component);
  return names;
}

}  // namespace zr
