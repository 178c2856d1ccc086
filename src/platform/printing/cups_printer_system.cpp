#include "platform/printing/cups_printer_system.h"

#include <cups/cups.h>
#include <sys/socket.h>

#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/rounding.h"

namespace zr {

namespace {

struct HttpClose {
  void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;

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

 private:
  cups_dest_t* dests_ = nullptr;
  int count_ = 0;
};

struct DestFree {
  void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using NamedDest = std::unique_ptr<cups_dest_t, DestFree>;

// A slow server is a missing server: the wait ends instead of retrying.
int give_up(http_t*, void*) {
  return 0;
}

Connection connect(const std::string& server, int timeout_ms) {
  std::string host = server.empty() ? cupsServer() : server;
  int port = ippPort();
  size_t colon = host.rfind(':');
  if (!host.starts_with("/") && colon != std::string::npos) {
    port = std::atoi(host.c_str() + colon + 1);
    host.resize(colon);
  }
  http_t* http = httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              timeout_ms, nullptr);
  if (http) httpSetTimeout(http, timeout_ms / 1000.0, give_up, nullptr);
  return Connection(http);
}

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

void read_papers(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, PrinterCapabilities& caps) {
  int count = cupsGetDestMediaCount(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
  for (int i = 0; i < count; ++i) {
    cups_size_t size{};
    if (!cupsGetDestMediaByIndex(http, dest, info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size)) continue;
    // The limits of a custom-size range are not papers.
    if (std::string_view(size.media).starts_with("custom_")) continue;
    if (size.width <= 0 || size.length <= 0) continue;
    caps.papers.push_back(paper_of(size));
  }
  cups_size_t size{};
  if (!cupsGetDestMediaDefault(http, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &size)) return;
  for (size_t i = 0; i < caps.papers.size(); ++i)
    if (caps.papers[i].name == size.media) caps.default_paper = static_cast<int>(i);
  if (caps.default_paper < 0 && size.width > 0 && size.length > 0) {
    caps.papers.push_back(paper_of(size));
    caps.default_paper = static_cast<int>(caps.papers.size()) - 1;
  }
}

void read_sources(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, PrinterCapabilities& caps) {
  ipp_attribute_t* supported = cupsFindDestSupported(http, dest, info, "media-source");
  for (int i = 0; supported && i < ippGetCount(supported); ++i)
    if (const char* source = ippGetString(supported, i, nullptr)) caps.sources.push_back(source);
  ipp_attribute_t* chosen = cupsFindDestDefault(http, dest, info, "media-source");
  const char* name = chosen ? ippGetString(chosen, 0, nullptr) : nullptr;
  for (size_t i = 0; name && i < caps.sources.size(); ++i)
    if (caps.sources[i] == name) caps.default_source = static_cast<int>(i);
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

std::string option(const cups_dest_t& dest, const char* name) {
  const char* value = cupsGetOption(name, dest.num_options, dest.options);
  return value ? value : "";
}

}  // namespace

std::vector<std::string> CupsPrinterSystem::printer_names() {
  std::vector<std::string> names;
  Connection http = connect(server_, timeout_ms_);
  if (!http) return names;
  Dests dests(http.get());
  for (int i = 0; i < dests.count(); ++i)
    if (!dests[i].instance) names.emplace_back(dests[i].name);
  return names;
}

std::string CupsPrinterSystem::default_printer() {
  Connection http = connect(server_, timeout_ms_);
  if (!http) return {};
  Dests dests(http.get());
  for (int i = 0; i < dests.count(); ++i)
    if (dests[i].is_default) return dests[i].name;
  return {};
}

std::optional<PrinterCapabilities> CupsPrinterSystem::capabilities(const std::string& name) {
  Connection http = connect(server_, timeout_ms_);
  if (!http) return std::nullopt;
  NamedDest dest(cupsGetNamedDest(http.get(), name.c_str(), nullptr));
  if (!dest) return std::nullopt;
  DestInfo info(cupsCopyDestInfo(http.get(), dest.get()));
  if (!info) return std::nullopt;

  PrinterCapabilities caps;
  caps.driver = option(*dest, "printer-make-and-model");
  caps.port = option(*dest, "device-uri");
  read_papers(http.get(), dest.get(), info.get(), caps);
  read_sources(http.get(), dest.get(), info.get(), caps);
  read_resolution(http.get(), dest.get(), info.get(), caps);
  ipp_attribute_t* turns =
      cupsFindDestSupported(http.get(), dest.get(), info.get(), "orientation-requested");
  if (turns) caps.landscape = ippContainsInteger(turns, IPP_ORIENT_LANDSCAPE);
  return caps;
}

}  // namespace zr
