#pragma once
// TvtPrinter: the engine's printer object. It keeps the system printers followed by the
// virtual printer (always the last entry, standing in when no real printer is wanted or
// available), the papers and paper sources of the current printer, and the current paper,
// orientation and bin, and converts a page's paper into design-pixel geometry (FillPrnInfo).
//
// Sizes are in tenths of a millimetre; the paper width and height are those of the page as
// it lies (a landscape A4 is 2970 wide). Paper codes are the standard paper numbers,
// kPaperCustom (256) for a custom size. Bin -1 (or 0xFFFF, the same 16-bit value) is the
// printer's default source. Texts are ANSI bytes.
//
// One object per process, owned by the engine's globals; the PrinterSystem is not owned and
// must outlive it. Call SetPrinter once before use. Single-threaded.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/printer/application_printer.h"
#include "engine/printer/paper_table.h"
#include "engine/printer/printer_info.h"
#include "platform/printing/printer_system.h"

namespace zr {

enum class PrinterOrientation : uint8_t { Portrait = 0, Landscape = 1 };

// True for both spellings of the default bin.
inline bool is_default_bin(int bin) {
  return bin == -1 || bin == 0xFFFF;
}

class TvtPrinter {
 public:
  explicit TvtPrinter(PrinterSystem& system);
  TvtPrinter(const TvtPrinter&) = delete;
  TvtPrinter& operator=(const TvtPrinter&) = delete;

  // Reads the printer list from the system again and appends the virtual printer. The
  // current printer becomes the system's chosen one, or the virtual printer when the system
  // has none.
  void SetPrinter();
  // Selects entry `index` of printers() when it differs from the current one. Raises
  // ZorelError (Argument) for an index outside the list, changing nothing.
  void SetPrinterIndex(int index);
  // Takes paper, orientation, bin and the paper and bin lists from the current real
  // printer; any failure selects the virtual printer.
  void ReadSettings();
  // Makes the current printer use the stored paper code, size, orientation and bin.
  void ApplySettings();
  // Whether a page of these settings prints as the printer stands: the same paper code,
  // and for custom sizes width and height each within 1 and the same orientation; for
  // other papers the same orientation and the same bin or a default-bin request.
  bool IsEqual(int size, int32_t width, int32_t height, PrinterOrientation orientation,
               int bin) const;
  // Selects the paper. Ignored while a print job runs and, unless `force`, when IsEqual
  // holds.
  void SetPrinterInfo(int size, int32_t width, int32_t height, PrinterOrientation orientation,
                      int bin, bool force);
  // Fills the page geometry of the current paper; on the virtual printer the device values
  // are left as they are. Raises ZorelError when the real printer has no mode, which only
  // happens when the application printer was switched behind this object's back.
  void FillPrnInfo(PrinterInfo& info) const;
  // Lets `dialog` edit a copy of the real printer's mode; when it returns true the copy
  // becomes the printer's mode. False (nothing shown) on the virtual printer.
  bool PropertiesDialog(const std::function<bool(DeviceMode&)>& dialog);

  bool is_virtual() const { return printer_index_ == virtual_printer_index_; }

  const std::string& device() const { return device_; }
  const std::string& driver() const { return driver_; }
  const std::string& port() const { return port_; }
  int printer_index() const { return printer_index_; }
  int virtual_printer_index() const { return virtual_printer_index_; }
  int paper_code() const { return paper_code_; }
  int32_t paper_width() const { return paper_width_; }
  int32_t paper_height() const { return paper_height_; }
  PrinterOrientation orientation() const { return orientation_; }
  int bin() const { return bin_; }
  const std::vector<std::string>& printers() const { return printers_; }
  // The current entry of printers(); "" when the index is outside the list.
  std::string printer_name() const;
  // The entry of that exact name; -1 when there is none.
  int IndexOfPrinter(std::string_view name) const;
  const std::vector<std::string>& paper_names() const { return paper_names_; }
  const std::vector<int16_t>& paper_codes() const { return paper_codes_; }
  int paper_count() const { return static_cast<int>(paper_codes_.size()); }
  const std::vector<std::string>& bin_names() const { return bin_names_; }
  const std::vector<int16_t>& bin_codes() const { return bin_codes_; }
  int bin_count() const { return static_cast<int>(bin_codes_.size()); }
  const std::vector<TPaperInfo>& paper_table() const { return paper_table_; }

  // The application printer: the system printers alone, for the print dialog and jobs.
  ApplicationPrinter& system_printer() { return system_printer_; }
  const ApplicationPrinter& system_printer() const { return system_printer_; }

 private:
  // Whether the real printer has a mode, asking it once more when it did not answer.
  bool has_mode();
  void read_settings();
  void apply_virtual();
  void apply_real();
  void select_virtual();
  void reset_bins();

  ApplicationPrinter system_printer_;
  std::vector<TPaperInfo> paper_table_;
  std::string device_;
  std::string driver_;
  std::string port_;
  int printer_index_ = 0;
  int virtual_printer_index_ = 0;
  int paper_code_ = kPaperA4;
  int32_t paper_width_ = 0;
  int32_t paper_height_ = 0;
  PrinterOrientation orientation_ = PrinterOrientation::Portrait;
  int bin_ = -1;
  std::vector<std::string> printers_;
  std::vector<std::string> paper_names_;
  std::vector<int16_t> paper_codes_;
  std::vector<std::string> bin_names_;
  std::vector<int16_t> bin_codes_;
};

}  // namespace zr
