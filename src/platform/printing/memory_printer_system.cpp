#include "platform/printing/memory_printer_system.h"

#include <algorithm>

namespace zr {

void MemoryPrinterSystem::add_printer(std::string name, PrinterCapabilities capabilities) {
  auto found = std::find_if(printers_.begin(), printers_.end(),
                            [&](const auto& printer) { return printer.first == name; });
  if (found != printers_.end())
    found->second = std::move(capabilities);
  else
    printers_.emplace_back(std::move(name), std::move(capabilities));
}

void MemoryPrinterSystem::remove_printer(const std::string& name) {
  std::erase_if(printers_, [&](const auto& printer) { return printer.first == name; });
}

std::vector<std::string> MemoryPrinterSystem::printer_names() {
  std::vector<std::string> names;
  for (const auto& printer : printers_) names.push_back(printer.first);
  return names;
}

std::optional<PrinterCapabilities> MemoryPrinterSystem::capabilities(const std::string& name) {
  if (silent_) return std::nullopt;
  for (const auto& printer : printers_)
    if (printer.first == name) return printer.second;
  return std::nullopt;
}

}  // namespace zr
