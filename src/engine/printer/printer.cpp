#include "engine/printer/printer.h"

#include <cstdlib>
#include <exception>
#include <utility>

#include "engine/locale/locale_strings.h"
#include "engine/printer/design_pixels.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

namespace {

// The virtual printer's unprintable edge: 5 mm on every side.
constexpr int32_t kVirtualMarginTenths = 50;

}  // namespace

TvtPrinter::TvtPrinter(PrinterSystem& system)
    : system_printer_(system), paper_table_(load_paper_table()) {
  reset_bins();
}

void TvtPrinter::SetPrinter() {
  system_printer_.Refresh();
  printers_ = system_printer_.Printers();
  printer_index_ = system_printer_.PrinterIndex();
  printers_.push_back(LoadStr(kStrVirtualPrinter));
  virtual_printer_index_ = static_cast<int>(printers_.size()) - 1;
  if (printers_.size() == 1)
    select_virtual();
  else
    ReadSettings();
}

std::string TvtPrinter::printer_name() const {
  return printer_index_ >= 0 && printer_index_ < static_cast<int>(printers_.size())
             ? printers_[static_cast<size_t>(printer_index_)]
             : std::string();
}

int TvtPrinter::IndexOfPrinter(std::string_view name) const {
  for (size_t i = 0; i < printers_.size(); ++i)
    if (printers_[i] == name) return static_cast<int>(i);
  return -1;
}

void TvtPrinter::SetPrinterIndex(int index) {
  if (index == printer_index_) return;
  if (index < 0 || index > virtual_printer_index_)
    throw ZorelError("Printer index out of range", ErrorKind::Argument);
  printer_index_ = index;
  if (is_virtual()) {
    apply_virtual();
  } else if (!system_printer_.Printers().empty()) {
    system_printer_.SetPrinterIndex(index);
    ReadSettings();
  }
}

void TvtPrinter::ReadSettings() {
  try {
    read_settings();
  } catch (const std::exception&) {
    select_virtual();
  }
}

void TvtPrinter::read_settings() {
  if (!has_mode()) throw ZorelError("The printer does not answer");
  const std::optional<DeviceMode>& mode = system_printer_.Mode();
  device_ = system_printer_.Device();
  driver_ = system_printer_.Driver();
  port_ = system_printer_.Port();

  paper_code_ = mode->paper_size;
  DeviceCaps caps = system_printer_.Caps();
  paper_width_ =
      round_half_even_to_int(caps.physical_width / static_cast<double>(caps.dpi_x) * 254);
  paper_height_ =
      round_half_even_to_int(caps.physical_height / static_cast<double>(caps.dpi_y) * 254);

  paper_names_.clear();
  paper_codes_.clear();
  for (const PrinterChoice& paper : system_printer_.Papers()) {
    paper_names_.push_back(paper.name);
    paper_codes_.push_back(static_cast<int16_t>(paper.code));
  }
  bin_ = mode->default_source;
  reset_bins();
  for (const PrinterChoice& source : system_printer_.Bins()) {
    bin_names_.push_back(source.name);
    bin_codes_.push_back(static_cast<int16_t>(source.code));
  }
  orientation_ = mode->orientation == DMORIENT_PORTRAIT ? PrinterOrientation::Portrait
                                                        : PrinterOrientation::Landscape;
}

void TvtPrinter::ApplySettings() {
  if (is_virtual())
    apply_virtual();
  else
    apply_real();
}

void TvtPrinter::apply_virtual() {
  paper_names_.clear();
  paper_codes_.clear();
  for (const TPaperInfo& row : paper_table_) {
    paper_names_.push_back(row.name);
    paper_codes_.push_back(static_cast<int16_t>(row.code));
  }
  // The virtual printer has no paper sources of its own.
  reset_bins();
  if (paper_code_ == kPaperCustom) return;
  std::optional<int> row = paper_table_row(paper_code_);
  if (!row) return;
  const TPaperInfo& paper = paper_table_[static_cast<size_t>(*row)];
  paper_width_ = paper.width;
  paper_height_ = paper.height;
  if (orientation_ == PrinterOrientation::Landscape) std::swap(paper_width_, paper_height_);
}

void TvtPrinter::apply_real() {
  if (!has_mode()) {
    select_virtual();
    return;
  }
  DeviceMode mode = *system_printer_.Mode();
  bool landscape = orientation_ == PrinterOrientation::Landscape;
  if (paper_code_ == kPaperCustom) {
    // The mode holds the paper as it goes through the printer (portrait); a landscape page
    // of the asked width and height is that paper turned.
    mode.paper_width = landscape ? paper_height_ : paper_width_;
    mode.paper_length = landscape ? paper_width_ : paper_height_;
    mode.fields |= DM_PAPERLENGTH | DM_PAPERWIDTH;
  }
  if (mode.fields & DM_PAPERSIZE) mode.paper_size = paper_code_;
  if (mode.fields & DM_ORIENTATION)
    mode.orientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  if (mode.fields & DM_COPIES) mode.copies = 1;
  if ((mode.fields & DM_DEFAULTSOURCE) && !is_default_bin(bin_)) mode.default_source = bin_;
  system_printer_.SetMode(mode);
  ReadSettings();
}

bool TvtPrinter::IsEqual(int size, int32_t width, int32_t height, PrinterOrientation orientation,
                         int bin) const {
  if (size != paper_code_ || orientation != orientation_) return false;
  if (size == kPaperCustom)
    return std::abs(int64_t{width} - paper_width_) <= 1 &&
           std::abs(int64_t{height} - paper_height_) <= 1;
  return bin == bin_ || is_default_bin(bin);
}

void TvtPrinter::SetPrinterInfo(int size, int32_t width, int32_t height,
                                PrinterOrientation orientation, int bin, bool force) {
  if (system_printer_.Printing()) return;
  if (!force && IsEqual(size, width, height, orientation, bin)) return;
  paper_code_ = size;
  paper_width_ = width;
  paper_height_ = height;
  orientation_ = orientation;
  bin_ = bin;
  ApplySettings();
}

void TvtPrinter::FillPrnInfo(PrinterInfo& info) const {
  if (is_virtual()) {
    info.page_width = tenths_mm_to_pixels(paper_width_);
    info.page_height = tenths_mm_to_pixels(paper_height_);
    info.offset_x = info.offset_y = tenths_mm_to_pixels(kVirtualMarginTenths);
    info.printable_width = info.page_width - 2 * info.offset_x;
    info.printable_height = info.page_height - 2 * info.offset_y;
    return;
  }
  DeviceCaps caps = system_printer_.Caps();
  info.device_page_width = caps.physical_width;
  info.device_page_height = caps.physical_height;
  info.page_width = dots_to_pixels(caps.physical_width, caps.dpi_x);
  info.page_height = dots_to_pixels(caps.physical_height, caps.dpi_y);
  info.device_offset_x = caps.offset_x;
  info.device_offset_y = caps.offset_y;
  info.offset_x = dots_to_pixels(caps.offset_x, caps.dpi_x);
  info.offset_y = dots_to_pixels(caps.offset_y, caps.dpi_y);
  info.device_printable_width = caps.printable_width;
  info.device_printable_height = caps.printable_height;
  info.printable_width = dots_to_pixels(caps.printable_width, caps.dpi_x);
  info.printable_height = dots_to_pixels(caps.printable_height, caps.dpi_y);
}

bool TvtPrinter::PropertiesDialog(const std::function<bool(DeviceMode&)>& dialog) {
  if (is_virtual() || !system_printer_.Mode()) return false;
  DeviceMode copy = *system_printer_.Mode();
  if (!dialog(copy)) return false;
  system_printer_.SetMode(copy);
  return true;
}

bool TvtPrinter::has_mode() {
  if (!system_printer_.Mode()) {
    // A printer that did not answer gets one more chance.
    int index = system_printer_.PrinterIndex();
    if (index >= 0) system_printer_.SetPrinterIndex(index);
  }
  return system_printer_.Mode().has_value();
}

void TvtPrinter::select_virtual() {
  printer_index_ = virtual_printer_index_;
  apply_virtual();
}

void TvtPrinter::reset_bins() {
  bin_names_.assign(1, LoadStr(kStrDefaultBin));
  bin_codes_.assign(1, -1);
}

}  // namespace zr
