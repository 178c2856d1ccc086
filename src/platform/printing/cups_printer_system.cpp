#include "platform/printing/cups_printer_system.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "platform/rounding.h"

namespace zr {

namespace {

struct DestInfoFree {
  void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};
using DestInfo = std::unique_ptr<cups_dinfo_t, DestInfoFree>;

// The destination list of one query, freed with it.
class Dests {
 public:
  explicit Dests(http_t* http) { count_ = cupsGetDests2(http, &dests_); }
  ~Dests() { cupsFreeDests(count_, dests_); }
  Dests(const Dests&) = delete;
  Dests& operator=(const Dests&) = delete;
  int count() const { return dests_ ? count_ : 0; }
  const cups_dest_t& operator[](int i) const { return dests_[i]; }
  cups_dest_t* find(const std::string& name) const {
    return dests_ ? cupsGetDest(name.c_str(), nullptr, count_, dests_) : nullptr;
  }

 private:
  cups_dest_t* dests_ = nullptr;
  int count_ = 0;
};

// CUPS sizes are hundredths of a millimetre.
int32_t tenths(int hundredths) {
  return round_half_even_to_int(hundredths / 10.0);
}

PrinterPaper paper_of(const cups_size_t& size) {
  PrinterPaper paper;
  paper.name = size.media;
  paper.width = tenths(size.width);
  paper.height = tenths(size.length);
  paper.margins = {tenths(size.left), tenths(size.top), tenths(size.right), tenths(size.bottom)};
  return paper;
}

std::string option(const cups_dest_t& dest, const char* name) {
  const char* value = cupsGetOption(name, dest.num_options, dest.options);
  return value ? value : "";
}

// The printer's default keyword for `name` ("media", "media-source"): the plain default or
// the member of the default media collection; empty when it has none.
std::string default_keyword(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, const char* name) {
  if (ipp_attribute_t* attr = cupsFindDestDefault(http, dest, info, name))
    if (const char* value = ippGetString(attr, 0, nullptr)) return value;
  ipp_attribute_t* col = cupsFindDestDefault(http, dest, info, "media-col");
  ipp_t* media = col ? ippGetCollection(col, 0) : nullptr;
  if (!media) return {};
  std::string member = std::string_view(name) == "media" ? "media-size-name" : name;
  ipp_attribute_t* attr = ippFindAttribute(media, member.c_str(), IPP_TAG_ZERO);
  const char* value = attr ? ippGetString(attr, 0, nullptr) : nullptr;
  return value ? value : "";
}

void read_papers(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, PrinterCapabilities& caps) {
  int count = cupsGetDestMediaCount(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
  for (int i = 0; i < count; ++i) {
    cups_size_t size{};
    if (!cupsGetDestMediaByIndex(http, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size)) continue;
    // The limits of a custom-size range are not papers.
    if (std::string_view(size.media).starts_with("custom_")) continue;
    if (size.width <= 0 || size.length <= 0) continue;
    // Variants of one paper (borderless, other trays) share its name; the first one counts.
    if (std::any_of(caps.papers.begin(), caps.papers.end(),
                    [&](const PrinterPaper& paper) { return paper.name == size.media; }))
      continue;
    caps.papers.push_back(paper_of(size));
  }
  // The user's own choice, then the printer's; libcups's own default ignores the latter.
  std::string chosen = option(*dest, "media");
  if (chosen.empty()) chosen = default_keyword(http, dest, info, "media");
  cups_size_t size{};
  if (chosen.empty() && cupsGetDestMediaDefault(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size))
    chosen = size.media;
  for (size_t i = 0; i < caps.papers.size() && caps.default_paper < 0; ++i)
    if (caps.papers[i].name == chosen) caps.default_paper = static_cast<int>(i);
}

void read_sources(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, PrinterCapabilities& caps) {
  ipp_attribute_t* supported = cupsFindDestSupported(http, dest, info, "media-source");
  for (int i = 0; supported && i < ippGetCount(supported); ++i)
    if (const char* source = ippGetString(supported, i, nullptr)) caps.sources.push_back(source);
  std::string chosen = default_keyword(http, dest, info, "media-source");
  for (size_t i = 0; i < caps.sources.size(); ++i)
    if (caps.sources[i] == chosen) caps.default_source = static_cast<int>(i);
}

void read_resolution(http_t* http, cups_dest_t* dest, cups_dinfo_t* info,
                     PrinterCapabilities& caps) {
  ipp_attribute_t* attr = cupsFindDestDefault(http, dest, info, "printer-resolution");
  if (!attr || ippGetValueTag(attr) != IPP_TAG_RESOLUTION) return;
  int y = 0;
  ipp_res_t units = IPP_RES_PER_INCH;
  int x = ippGetResolution(attr, 0, &y, &units);
  if (units == IPP_RES_PER_CM) {
    x = round_half_even_to_int(x * 2.54);
    y = round_half_even_to_int(y * 2.54);
  }
  if (x > 0 && y > 0) {
    caps.dpi_x = x;
    caps.dpi_y = y;
  }
}

}  // namespace

// One connection for one query. The server's answers are awaited at most the timeout each;
// a wait that runs out is remembered, so the query can stop instead of asking more.
class CupsPrinterSystem::Session {
 public:
  explicit Session(int timeout_ms) {
    http_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                         timeout_ms, nullptr);
    if (http_) httpSetTimeout(http_, timeout_ms / 1000.0, &Session::on_timeout, this);
  }
  ~Session() { httpClose(http_); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  http_t* http() const { return http_; }
  bool timed_out() const { return timed_out_; }

 private:
  static int on_timeout(http_t*, void* self) {
    static_cast<Session*>(self)->timed_out_ = true;
    return 0;  // stop waiting
  }

  http_t* http_ = nullptr;
  bool timed_out_ = false;
};

void CupsPrinterSystem::use_server() const {
  // libcups resolves destinations against its own server setting: another server would
  // be taken for a printer device, so an explicit one becomes that setting.
  if (!server_.empty() && server_ != cupsServer()) cupsSetServer(server_.c_str());
}

bool CupsPrinterSystem::usable(Session& session) {
  if (Clock::now() < silent_until_) return false;
  if (!session.http()) {
    problem_ = "the print server " + std::string(cupsServer()) + " cannot be reached";
    return false;
  }
  // One cheap request first: a server that accepts connections but does not answer costs
  // one timeout, not one for each request a query makes.
  ippDelete(cupsDoRequest(session.http(), ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/"));
  if (!answered(session)) return false;
  problem_.clear();
  return true;
}

bool CupsPrinterSystem::answered(const Session& session) {
  if (!session.timed_out()) return true;
  silent_until_ = Clock::now() + kSilentPause;
  problem_ = "the print server " + std::string(cupsServer()) + " does not answer";
  return false;
}

std::vector<std::string> CupsPrinterSystem::printer_names() {
  std::vector<std::string> names;
  use_server();
  Session session(timeout_ms_);
  if (!usable(session)) return names;
  Dests dests(session.http());
  if (!answered(session)) return names;
  for (int i = 0; i < dests.count(); ++i)
    if (!dests[i].instance) names.emplace_back(dests[i].name);
  return names;
}

std::string CupsPrinterSystem::default_printer() {
  use_server();
  Session session(timeout_ms_);
  if (!usable(session)) return {};
  Dests dests(session.http());
  if (!answered(session)) return {};
  for (int i = 0; i < dests.count(); ++i)
    if (dests[i].is_default) return dests[i].name;
  return {};
}

std::optional<PrinterCapabilities> CupsPrinterSystem::capabilities(const std::string& name) {
  use_server();
  Session session(timeout_ms_);
  if (!usable(session)) return std::nullopt;
  // Not cupsGetNamedDest: for a name the server does not know it asks the default server
  // and the network with waits of its own.
  Dests dests(session.http());
  if (!answered(session)) return std::nullopt;
  cups_dest_t* dest = dests.find(name);
  if (!dest) return std::nullopt;
  DestInfo info(cupsCopyDestInfo(session.http(), dest));
  if (!answered(session) || !info) return std::nullopt;

  http_t* http = session.http();
  PrinterCapabilities caps;
  caps.driver = option(*dest, "printer-make-and-model");
  caps.port = option(*dest, "device-uri");
  read_papers(http, dest, info.get(), caps);
  read_sources(http, dest, info.get(), caps);
  read_resolution(http, dest, info.get(), caps);
  ipp_attribute_t* turns = cupsFindDestSupported(http, dest, info.get(), "orientation-requested");
  if (turns) caps.landscape = ippContainsInteger(turns, IPP_ORIENT_LANDSCAPE);
  return caps;
}

}  // namespace zr
