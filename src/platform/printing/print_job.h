#pragma once
// One print job on a system printer: a document of pages drawn through a Canvas and handed to
// the print service as a whole. The printing loop opens a job with the paper every page of it
// uses; a paper change is a new job.
//
// Units: paper in tenths of a millimetre as the page lies (a landscape A4 is 2970 wide),
// resolution in dots per inch, offsets in dots. The canvas draws in dots of the printer's
// resolution with its origin at the top-left of the printable area, as a printer's device
// context does; the device bounds are the whole paper in those coordinates.
//
// Single-threaded. A job that is destroyed without finish() is cancelled, on the server too.

#include <cstdint>
#include <memory>
#include <string>

namespace zr {

class Canvas;
class FontResolver;

struct PrintJobSettings {
  std::string printer;  // the system's name of the printer
  std::string title;    // UTF-8, the job's name on the server
  // The driver's copy count: each page comes out this many times before the next
  // (uncollated); the printing loop prints collated copies itself with 1 here.
  int copies = 1;
  std::string media;  // the system's paper name; empty lets the printer use its default
  int32_t paper_width = 2100;
  int32_t paper_height = 2970;
  bool landscape = false;
  std::string source;  // the system's paper source name; empty lets the printer pick
  int32_t dpi_x = 600;
  int32_t dpi_y = 600;
  int32_t offset_x = 0;  // the printable area's top-left in dots
  int32_t offset_y = 0;
};

class PrintJob {
 public:
  virtual ~PrintJob() = default;
  // The page being drawn; valid until the job ends. The first page is open at the start.
  virtual Canvas& canvas() = 0;
  // Ends the current page and opens the next one.
  virtual void new_page() = 0;
  // Ends the last page and hands the document to the printer. Raises ZorelError (the server's
  // reason) when the printer refuses it or the server stops answering; the job is then
  // cancelled.
  virtual void finish() = 0;
  // Drops the job: nothing of it prints, and the server forgets it. Never raises.
  virtual void cancel() = 0;
};

}  // namespace zr
