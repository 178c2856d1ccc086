#include "engine/printer/application_printer.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "engine/printer/paper_table.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

namespace {

// Device names live in fixed fields of 128 bytes (with their terminator), paper names in 64
// and source names in 24.
constexpr size_t kDeviceField = 128;
constexpr size_t kPaperNameField = 64;
constexpr size_t kBinNameField = 24;
// At most this many papers and sources are listed, as the classic code arrays hold.
constexpr size_t kMaxChoices = 256;
// A custom size this close to a listed paper prints with that paper's margins.
constexpr int32_t kSizeTolerance = 2;
constexpr int32_t kMaxDpi = 10000;

// `utf8` as ANSI text cut to a field of `size` bytes, never inside a character.
std::string field_text(std::string_view utf8, size_t size) {
  std::string ansi = utf8_to_ansi(utf8);
  size_t end = 0;
  while (end < ansi.size()) {
    size_t next = end + char_length(ansi, end);
    if (next > size - 1) break;
    end = next;
  }
  ansi.resize(end);
  return ansi;
}

int32_t dots(int32_t tenths, int32_t dpi) {
  return round_half_even_to_int(tenths * static_cast<double>(dpi) / 254);
}

bool near(int32_t a, int32_t b) {
  return std::abs(a - b) <= kSizeTolerance;
}

// Drops what no page can be made of: papers without a size or beyond the largest side,
// papers and sources past kMaxChoices, margins outside 0..half the side, and resolutions
// outside 1..kMaxDpi (taken as 600).
void sanitize(PrinterCapabilities& caps) {
  std::string chosen =
      caps.default_paper >= 0 && caps.default_paper < static_cast<int>(caps.papers.size())
          ? caps.papers[static_cast<size_t>(caps.default_paper)].name
          : std::string();
  std::erase_if(caps.papers, [](const PrinterPaper& paper) {
    return paper.width <= 0 || paper.height <= 0 || paper.width > kMaxPaperSide ||
           paper.height > kMaxPaperSide;
  });
  if (caps.papers.size() > kMaxChoices) caps.papers.resize(kMaxChoices);
  for (PrinterPaper& paper : caps.papers) {
    PaperMargins& m = paper.margins;
    m.left = std::clamp(m.left, 0, paper.width / 2);
    m.right = std::clamp(m.right, 0, paper.width / 2);
    m.top = std::clamp(m.top, 0, paper.height / 2);
    m.bottom = std::clamp(m.bottom, 0, paper.height / 2);
  }
  if (caps.sources.size() > kMaxChoices) caps.sources.resize(kMaxChoices);
  caps.default_paper = -1;
  for (size_t i = 0; i < caps.papers.size() && caps.default_paper < 0; ++i)
    if (!chosen.empty() && caps.papers[i].name == chosen) caps.default_paper = static_cast<int>(i);
  auto sane = [](int32_t dpi) { return dpi > 0 && dpi <= kMaxDpi; };
  if (!sane(caps.dpi_x) || !sane(caps.dpi_y)) caps.dpi_x = caps.dpi_y = 600;
  if (caps.default_source >= static_cast<int>(caps.sources.size())) caps.default_source = -1;
}

}  // namespace

void ApplicationPrinter::Refresh() {
  std::string chosen = index_ >= 0 ? system_names_[static_cast<size_t>(index_)] : std::string();
  system_names_ = system_.printer_names();
  names_.clear();
  for (const std::string& name : system_names_) names_.push_back(utf8_to_ansi(name));

  auto position = [&](const std::string& name) {
    auto found = std::find(system_names_.begin(), system_names_.end(), name);
    return found == system_names_.end() ? -1 : static_cast<int>(found - system_names_.begin());
  };
  int kept = chosen.empty() ? -1 : position(chosen);
  if (kept >= 0) {
    index_ = kept;
    return;
  }
  index_ = -1;
  caps_.reset();
  mode_.reset();
  papers_.clear();
  bins_.clear();
  if (system_names_.empty()) return;
  int preferred = position(system_.default_printer());
  choose(preferred >= 0 ? preferred : 0);
}

void ApplicationPrinter::SetPrinterIndex(int index) {
  if (index < 0 || index >= static_cast<int>(system_names_.size()))
    throw ZorelError("Printer index out of range", ErrorKind::Argument);
  choose(index);
}

void ApplicationPrinter::choose(int index) {
  index_ = index;
  caps_ = system_.capabilities(system_names_[static_cast<size_t>(index)]);
  mode_.reset();
  papers_.clear();
  bins_.clear();
  paper_ = -1;
  if (!caps_) return;
  sanitize(*caps_);

  for (const PrinterPaper& paper : caps_->papers)
    papers_.push_back({paper_code_for_size(paper.width, paper.height, kSizeTolerance),
                       field_text(paper.name, kPaperNameField)});
  for (size_t i = 0; i < caps_->sources.size(); ++i)
    bins_.push_back(
        {DMBIN_USER + static_cast<int>(i), field_text(caps_->sources[i], kBinNameField)});

  DeviceMode mode;
  mode.fields = DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES;
  if (caps_->landscape) mode.fields |= DM_ORIENTATION;
  if (!bins_.empty()) mode.fields |= DM_DEFAULTSOURCE;
  mode.default_source =
      caps_->default_source >= 0 ? DMBIN_USER + caps_->default_source : DMBIN_AUTO;
  int paper = caps_->default_paper;
  if (paper < 0 || paper >= static_cast<int>(papers_.size())) paper = papers_.empty() ? -1 : 0;
  if (paper >= 0) {
    const PrinterPaper& chosen = caps_->papers[static_cast<size_t>(paper)];
    mode.paper_size = papers_[static_cast<size_t>(paper)].code;
    mode.paper_width = chosen.width;
    mode.paper_length = chosen.height;
  } else {
    // A printer that lists no papers still prints on A4.
    mode.paper_size = kPaperA4;
    mode.paper_width = 2100;
    mode.paper_length = 2970;
  }
  paper_ = paper;
  mode_ = mode;
}

std::string ApplicationPrinter::Device() const {
  return index_ >= 0 ? field_text(system_names_[static_cast<size_t>(index_)], kDeviceField) : "";
}

std::string ApplicationPrinter::Driver() const {
  return caps_ ? field_text(caps_->driver, kDeviceField) : "";
}

std::string ApplicationPrinter::Port() const {
  return caps_ ? field_text(caps_->port, kDeviceField) : "";
}

void ApplicationPrinter::SetMode(const DeviceMode& mode) {
  if (!mode_) throw ZorelError("No printer is selected");
  DeviceMode next = *mode_;
  int paper = paper_;
  if (mode.fields & DM_PAPERSIZE) {
    if (mode.paper_size == kPaperCustom) {
      bool sized = (mode.fields & DM_PAPERWIDTH) && (mode.fields & DM_PAPERLENGTH);
      bool fits = mode.paper_width > 0 && mode.paper_width <= kMaxPaperSide &&
                  mode.paper_length > 0 && mode.paper_length <= kMaxPaperSide;
      if (sized && fits) {
        next.paper_size = kPaperCustom;
        next.paper_width = mode.paper_width;
        next.paper_length = mode.paper_length;
        paper = -1;
      }
    } else {
      auto offered = std::find_if(papers_.begin(), papers_.end(), [&](const PrinterChoice& p) {
        return p.code == mode.paper_size && p.code != kPaperCustom;
      });
      if (offered != papers_.end()) {
        paper = static_cast<int>(offered - papers_.begin());
        next.paper_size = mode.paper_size;
        next.paper_width = caps_->papers[static_cast<size_t>(paper)].width;
        next.paper_length = caps_->papers[static_cast<size_t>(paper)].height;
      }
    }
  }
  if ((mode.fields & DM_ORIENTATION) && (next.fields & DM_ORIENTATION))
    next.orientation =
        mode.orientation == DMORIENT_LANDSCAPE ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  if (mode.fields & DM_COPIES) next.copies = std::max(mode.copies, 1);
  if ((mode.fields & DM_DEFAULTSOURCE) && (next.fields & DM_DEFAULTSOURCE) &&
      (mode.default_source == DMBIN_AUTO ||
       std::any_of(bins_.begin(), bins_.end(),
                   [&](const PrinterChoice& bin) { return bin.code == mode.default_source; })))
    next.default_source = mode.default_source;
  paper_ = paper;
  mode_ = next;
}

PaperMargins ApplicationPrinter::current_margins() const {
  const std::vector<PrinterPaper>& papers = caps_->papers;
  if (paper_ >= 0) return papers[static_cast<size_t>(paper_)].margins;
  // A custom size prints with the margins of a paper of its size, or of the default paper.
  for (const PrinterPaper& paper : papers)
    if (near(paper.width, mode_->paper_width) && near(paper.height, mode_->paper_length))
      return paper.margins;
  int fallback = caps_->default_paper;
  if (fallback >= 0 && fallback < static_cast<int>(papers.size()))
    return papers[static_cast<size_t>(fallback)].margins;
  return {};
}

DeviceCaps ApplicationPrinter::Caps() const {
  if (!mode_) throw ZorelError("No printer is selected");
  int32_t width = mode_->paper_width;
  int32_t length = mode_->paper_length;
  PaperMargins m = current_margins();
  int32_t dpi_x = caps_->dpi_x;
  int32_t dpi_y = caps_->dpi_y;
  if (mode_->orientation == DMORIENT_LANDSCAPE) {
    // The page turns a quarter counter-clockwise: the portrait top edge becomes the left.
    std::swap(width, length);
    std::swap(dpi_x, dpi_y);
    m = {m.top, m.right, m.bottom, m.left};
  }
  DeviceCaps caps;
  caps.dpi_x = dpi_x;
  caps.dpi_y = dpi_y;
  caps.physical_width = dots(width, dpi_x);
  caps.physical_height = dots(length, dpi_y);
  caps.offset_x = dots(m.left, dpi_x);
  caps.offset_y = dots(m.top, dpi_y);
  caps.printable_width = std::max(caps.physical_width - caps.offset_x - dots(m.right, dpi_x), 1);
  caps.printable_height = std::max(caps.physical_height - caps.offset_y - dots(m.bottom, dpi_y), 1);
  return caps;
}

void ApplicationPrinter::BeginDoc(const std::string& title, std::shared_ptr<FontResolver> fonts) {
  if (!mode_) throw ZorelError("No printer is selected");
  DeviceCaps geometry = Caps();
  PrintJobSettings settings;
  settings.printer = system_names_[static_cast<size_t>(index_)];
  settings.title = ansi_to_utf8(title);
  settings.copies = std::max(mode_->copies, 1);
  settings.landscape = mode_->orientation == DMORIENT_LANDSCAPE;
  settings.paper_width = settings.landscape ? mode_->paper_length : mode_->paper_width;
  settings.paper_height = settings.landscape ? mode_->paper_width : mode_->paper_length;
  // A custom size goes by its size alone; the print service names it.
  if (paper_ >= 0) settings.media = caps_->papers[static_cast<size_t>(paper_)].name;
  int source = mode_->default_source - DMBIN_USER;
  if (source >= 0 && source < static_cast<int>(caps_->sources.size()))
    settings.source = caps_->sources[static_cast<size_t>(source)];
  settings.dpi_x = geometry.dpi_x;
  settings.dpi_y = geometry.dpi_y;
  settings.offset_x = geometry.offset_x;
  settings.offset_y = geometry.offset_y;
  job_ = system_.start_job(settings, std::move(fonts));
  printing_ = true;
}

Canvas& ApplicationPrinter::JobCanvas() {
  if (!job_) throw ZorelError("No print job is running");
  return job_->canvas();
}

void ApplicationPrinter::NewPage() {
  if (job_) job_->new_page();
}

void ApplicationPrinter::EndDoc() {
  std::unique_ptr<PrintJob> job = std::move(job_);
  printing_ = false;
  if (job) job->finish();
}

void ApplicationPrinter::Abort() {
  std::unique_ptr<PrintJob> job = std::move(job_);
  printing_ = false;
  if (job) job->cancel();
}

}  // namespace zr
