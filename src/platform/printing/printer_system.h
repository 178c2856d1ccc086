#pragma once
// The system's printers as the report layer sees them: names, papers with their printable
// margins, paper sources, resolution and orientation support. The printer layer asks only
// this interface; CupsPrinterSystem answers from a CUPS server, MemoryPrinterSystem from a
// fixed list (tests, machines without printing).
//
// Units: paper sizes and margins in tenths of a millimetre, resolution in dots per inch.
// Texts are as the system gives them (UTF-8 for CUPS); the printer layer converts them.
// Queries never raise for an absent or silent print service: they answer "nothing".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/printing/print_job.h"

namespace zr {

// Unprintable edges of a paper in portrait position.
struct PaperMargins {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  friend bool operator==(const PaperMargins&, const PaperMargins&) = default;
};

// One paper a printer offers. Width and height are the portrait size.
struct PrinterPaper {
  std::string name;  // the system's media name, e.g. "iso_a4_210x297mm"
  int32_t width = 0;
  int32_t height = 0;
  PaperMargins margins{};

  friend bool operator==(const PrinterPaper&, const PrinterPaper&) = default;
};

// What a printer can do and what it uses when nothing is asked for.
struct PrinterCapabilities {
  std::string driver;  // make and model as the system names it
  std::string port;    // the device address
  std::vector<PrinterPaper> papers;
  int default_paper = -1;            // index into papers, -1 when none
  std::vector<std::string> sources;  // paper sources (bins) in the system's order
  int default_source = -1;           // index into sources, -1 when the system picks
  int32_t dpi_x = 600;
  int32_t dpi_y = 600;
  bool landscape = true;  // the printer can turn pages
};

class PrinterSystem {
 public:
  virtual ~PrinterSystem() = default;

  // The installed printers in the system's order; empty when there is none or no print
  // service answers.
  virtual std::vector<std::string> printer_names() = 0;

  // The system's default printer, or empty when none is set.
  virtual std::string default_printer() = 0;

  // The capabilities of printer `name`; nullopt when it is unknown or does not answer.
  virtual std::optional<PrinterCapabilities> capabilities(const std::string& name) = 0;

  // Opens a print job on printer `settings.printer`, its canvas drawing with `fonts`. Raises
  // ZorelError saying why when the printer or the print service refuses or does not answer.
  virtual std::unique_ptr<PrintJob> start_job(const PrintJobSettings& settings,
                                              std::shared_ptr<FontResolver> fonts) = 0;

  // Why the last query answered "nothing" when the print service itself failed (it cannot
  // be reached, it does not answer); empty when it answered.
  virtual std::string problem() const { return {}; }
};

}  // namespace zr
