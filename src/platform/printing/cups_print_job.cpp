// Print jobs on a CUPS server: the pages are drawn with cairo into a PDF (or PostScript, for a
// queue that takes only that) which streams to the server while it is drawn, so a job holds
// one page in memory, not the document.
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cups/cups.h>
#include <sys/socket.h>

#include <algorithm>
#include <string_view>

#include "platform/canvas/cairo_canvas.h"
#include "platform/errors.h"
#include "platform/printing/cups_printer_system.h"

namespace zr {

namespace {

struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
using Http = std::unique_ptr<http_t, HttpCloser>;

int stop_waiting(http_t*, void*) {
  return 0;
}

// A connection to the configured server whose every wait ends after `timeout_ms`.
Http connect(int timeout_ms) {
  Http http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         timeout_ms, nullptr));
  if (http) httpSetTimeout(http.get(), timeout_ms / 1000.0, stop_waiting, nullptr);
  return http;
}

// The document format the queue takes: PDF where it can, else PostScript.
const char* document_format(http_t* http, const std::string& printer) {
  cups_dest_t* dests = nullptr;
  int count = cupsGetDests2(http, &dests);
  const char* format = CUPS_FORMAT_PDF;
  if (cups_dest_t* dest = dests ? cupsGetDest(printer.c_str(), nullptr, count, dests) : nullptr) {
    if (cups_dinfo_t* info = cupsCopyDestInfo(http, dest)) {
      ipp_attribute_t* formats = cupsFindDestSupported(http, dest, info, "document-format");
      if (formats && !ippContainsString(formats, CUPS_FORMAT_PDF) &&
          ippContainsString(formats, CUPS_FORMAT_POSTSCRIPT))
        format = CUPS_FORMAT_POSTSCRIPT;
      cupsFreeDestInfo(info);
    }
  }
  cupsFreeDests(count, dests);
  return format;
}

class CupsPrintJob : public PrintJob {
 public:
  CupsPrintJob(Http http, const PrintJobSettings& settings, int job_id, const char* format,
               int timeout_ms, std::shared_ptr<FontResolver> fonts)
      : http_(std::move(http)),
        printer_(settings.printer),
        job_id_(job_id),
        timeout_ms_(timeout_ms) {
    const double width_pt = settings.paper_width * 72.0 / 254;
    const double height_pt = settings.paper_height * 72.0 / 254;
    surface_.reset(
        std::string_view(format) == CUPS_FORMAT_POSTSCRIPT
            ? cairo_ps_surface_create_for_stream(&CupsPrintJob::write, this, width_pt, height_pt)
            : cairo_pdf_surface_create_for_stream(&CupsPrintJob::write, this, width_pt, height_pt));
    if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS)
      throw ZorelError("Cannot make the print document");
    if (std::string_view(format) == CUPS_FORMAT_PDF)
      cairo_pdf_surface_set_metadata(surface_.get(), CAIRO_PDF_METADATA_TITLE,
                                     settings.title.c_str());
    CairoContext cr(cairo_create(surface_.get()));
    // Printer dots, the origin at the printable area, as on a printer's device context.
    cairo_scale(cr.get(), 72.0 / settings.dpi_x, 72.0 / settings.dpi_y);
    cairo_translate(cr.get(), settings.offset_x, settings.offset_y);
    Rect paper{-settings.offset_x, -settings.offset_y,
               static_cast<int>(width_pt * settings.dpi_x / 72.0) - settings.offset_x,
               static_cast<int>(height_pt * settings.dpi_y / 72.0) - settings.offset_y};
    canvas_ = std::make_unique<CairoCanvas>(
        cr.get(), paper, Resolution{settings.dpi_x, settings.dpi_y}, std::move(fonts));
  }
  ~CupsPrintJob() override { cancel(); }

  Canvas& canvas() override { return *canvas_; }

  void new_page() override { cairo_show_page(canvas_->context()); }

  void finish() override {
    if (done_) return;
    cairo_show_page(canvas_->context());
    canvas_->finish();
    canvas_.reset();
    cairo_surface_finish(surface_.get());
    const bool written = cairo_surface_status(surface_.get()) == CAIRO_STATUS_SUCCESS && !failed_;
    surface_.reset();
    if (!written) fail("the print server stopped taking the document");
    ipp_status_t status = cupsFinishDocument(http_.get(), printer_.c_str());
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE) fail(cupsLastErrorString());
    done_ = true;
    http_.reset();
  }

  void cancel() override {
    if (done_) return;
    done_ = true;
    canvas_.reset();
    failed_ = true;  // what cairo still writes goes nowhere
    surface_.reset();
    // The document request is cut off with its connection; the job itself is cancelled on
    // a fresh one, so the server keeps nothing of it.
    http_.reset();
    if (Http http = connect(timeout_ms_)) cupsCancelJob2(http.get(), printer_.c_str(), job_id_, 0);
  }

 private:
  static cairo_status_t write(void* self, const unsigned char* data, unsigned int length) {
    auto* job = static_cast<CupsPrintJob*>(self);
    if (job->failed_) return CAIRO_STATUS_WRITE_ERROR;
    if (cupsWriteRequestData(job->http_.get(), reinterpret_cast<const char*>(data), length) !=
        HTTP_STATUS_CONTINUE) {
      job->failed_ = true;
      return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
  }

  [[noreturn]] void fail(const std::string& reason) {
    cancel();
    throw ZorelError("Printing on \"" + printer_ + "\" failed: " + reason);
  }

  Http http_;
  std::string printer_;
  int job_id_;
  int timeout_ms_;
  CairoSurface surface_;
  std::unique_ptr<CairoCanvas> canvas_;
  bool failed_ = false;
  bool done_ = false;
};

// The job's options: paper, source and the driver's copy count.
class JobOptions {
 public:
  explicit JobOptions(const PrintJobSettings& settings) {
    if (!settings.media.empty()) {
      add("media", settings.media);
    } else if (pwg_media_t* size =
                   pwgMediaForSize(std::min(settings.paper_width, settings.paper_height) * 10,
                                   std::max(settings.paper_width, settings.paper_height) * 10)) {
      add("media", size->pwg);
    }
    if (!settings.source.empty()) add("media-source", settings.source);
    if (settings.copies > 1) {
      add("copies", std::to_string(settings.copies));
      add("multiple-document-handling", "separate-documents-uncollated-copies");
    }
  }
  ~JobOptions() { cupsFreeOptions(count_, options_); }
  JobOptions(const JobOptions&) = delete;
  JobOptions& operator=(const JobOptions&) = delete;
  int count() const { return count_; }
  cups_option_t* options() const { return options_; }

 private:
  void add(const char* name, const std::string& value) {
    count_ = cupsAddOption(name, value.c_str(), count_, &options_);
  }
  int count_ = 0;
  cups_option_t* options_ = nullptr;
};

}  // namespace

std::unique_ptr<PrintJob> CupsPrinterSystem::start_job(const PrintJobSettings& settings,
                                                       std::shared_ptr<FontResolver> fonts) {
  const std::string where = "Printing on \"" + settings.printer + "\" failed: ";
  if (Clock::now() < silent_until_) throw ZorelError(where + problem_);
  use_server();
  Http http = connect(timeout_ms_);
  if (!http)
    throw ZorelError(where + "the print server " + std::string(cupsServer()) +
                     " cannot be reached");
  const char* format = document_format(http.get(), settings.printer);
  JobOptions options(settings);
  int id = cupsCreateJob(http.get(), settings.printer.c_str(), settings.title.c_str(),
                         options.count(), options.options());
  if (id == 0) throw ZorelError(where + cupsLastErrorString());
  if (cupsStartDocument(http.get(), settings.printer.c_str(), id, settings.title.c_str(), format,
                        1) != HTTP_STATUS_CONTINUE) {
    std::string reason = cupsLastErrorString();
    if (Http other = connect(timeout_ms_))
      cupsCancelJob2(other.get(), settings.printer.c_str(), id, 0);
    throw ZorelError(where + reason);
  }
  try {
    return std::make_unique<CupsPrintJob>(std::move(http), settings, id, format, timeout_ms_,
                                          std::move(fonts));
  } catch (...) {
    if (Http other = connect(timeout_ms_))
      cupsCancelJob2(other.get(), settings.printer.c_str(), id, 0);
    throw;
  }
}

}  // namespace zr
