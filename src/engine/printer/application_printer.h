#pragma once
// The application's printer: one printer chosen from the system's list, with the mode the
// next job will use and the page geometry that mode gives. It plays the printer driver's
// part over PrinterSystem: papers get their standard paper numbers, paper sources get codes
// from DMBIN_USER on (DMBIN_AUTO lets the printer pick), and a mode handed to it is checked against
// what the printer offers.
//
// Names are ANSI bytes (converted from the system's UTF-8). The PrinterSystem is not owned
// and must outlive this object. Single-threaded.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/printer/device_mode.h"
#include "platform/printing/printer_system.h"

namespace zr {

// A paper or paper source as the printer lists it.
struct PrinterChoice {
  int code = 0;
  std::string name;  // ANSI
};

class ApplicationPrinter {
 public:
  explicit ApplicationPrinter(PrinterSystem& system) : system_(system) {}
  ApplicationPrinter(const ApplicationPrinter&) = delete;
  ApplicationPrinter& operator=(const ApplicationPrinter&) = delete;

  // Reads the system's printer list again. The chosen printer stays chosen, with its mode,
  // while it is installed; otherwise the system's default printer (or the first) is chosen
  // with its default settings. With no printers the index is -1.
  void Refresh();

  const std::vector<std::string>& Printers() const { return names_; }
  // Why the print service gave no answer at the last query; empty when it answered.
  std::string SystemProblem() const { return system_.problem(); }
  int PrinterIndex() const { return index_; }

  // Chooses printer `index` with its default settings; raises ZorelError (Argument)
  // "Printer index out of range" when there is no such printer. A printer that does not
  // answer is chosen without a mode.
  void SetPrinterIndex(int index);

  // The chosen printer's mode; nullopt when none is chosen or it did not answer.
  const std::optional<DeviceMode>& Mode() const { return mode_; }
  std::string Device() const;
  std::string Driver() const;
  std::string Port() const;

  // Hands `mode` to the printer, which takes the values whose field bits are set and that
  // it can honour: a paper number it does not offer, a custom size outside 1..kMaxPaperSide,
  // landscape on a printer that cannot turn pages and an unknown source keep the previous
  // value. Raises ZorelError when no mode is chosen.
  void SetMode(const DeviceMode& mode);

  // The page geometry of the current mode. Raises ZorelError when no mode is chosen.
  DeviceCaps Caps() const;

  // The chosen printer's papers and paper sources; empty without a mode.
  const std::vector<PrinterChoice>& Papers() const { return papers_; }
  const std::vector<PrinterChoice>& Bins() const { return bins_; }

  // The print job: BeginDoc opens one on the chosen printer with the current mode (its paper,
  // orientation, source and copy count) and `title` (ANSI; the job's name); NewPage ends a
  // page and opens the next; EndDoc hands the document to the printer; Abort drops it, on
  // the server too. BeginDoc and EndDoc raise ZorelError with the print service's reason
  // (EndDoc drops the job first). Printing() is true from BeginDoc to EndDoc or Abort.
  void BeginDoc(const std::string& title, std::shared_ptr<FontResolver> fonts);
  // The page being printed; raises ZorelError when no job runs.
  Canvas& JobCanvas();
  void NewPage();
  void EndDoc();
  void Abort();

  // Set while a print job runs.
  bool Printing() const { return printing_; }
  void SetPrinting(bool printing) { printing_ = printing; }

 private:
  void choose(int index);
  PaperMargins current_margins() const;

  PrinterSystem& system_;
  std::vector<std::string> system_names_;  // as the system gives them
  std::vector<std::string> names_;         // ANSI
  int index_ = -1;
  std::optional<PrinterCapabilities> caps_;
  std::optional<DeviceMode> mode_;
  int paper_ = -1;  // index into caps_->papers of the current paper, -1 for a custom size
  std::vector<PrinterChoice> papers_;
  std::vector<PrinterChoice> bins_;
  bool printing_ = false;
  std::unique_ptr<PrintJob> job_;
};

}  // namespace zr
