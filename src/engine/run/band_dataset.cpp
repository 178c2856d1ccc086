#include "engine/run/band_dataset.h"

#include "platform/errors.h"
#include "platform/number_text.h"

namespace zr {

std::vector<std::string> SplitComponentPath(std::string_view path) {
  std::vector<std::string> names;
  size_t start = 0;
  for (;;) {
    const size_t dot = path.find('.', start);
    names.emplace_back(path.substr(start, dot == std::string_view::npos ? dot : dot - start));
    if (dot == std::string_view::npos) return names;
    start = dot + 1;
  }
}

namespace {

TvtDataset* LookUpDataset(std::string_view path, const TvtComponentDirectory& components) {
  const std::optional<ComponentRef> found = components.FindPath(SplitComponentPath(path));
  if (!found) throw ZorelError("Missing " + std::string(path));
  if (std::holds_alternative<std::monostate>(*found)) return nullptr;
  if (auto* const* dataset = std::get_if<TvtDataset*>(&*found)) return *dataset;
  throw ZorelError("Invalid class typecast: '" + std::string(path) + "' is not a report dataset",
                   ErrorKind::Argument);
}

}  // namespace

TvtBandDataset ResolveBandDataset(std::string_view text, const TvtComponentDirectory& components) {
  TvtBandDataset result;
  if (text.empty()) return result;  // no dataset named, whether or not there is an owner
  if (text[0] >= '1' && text[0] <= '9') {
    auto counted = std::make_unique<TvtUserDataset>();
    counted->RangeEnd = reCount;
    counted->RangeEndCount = str_to_int(text);
    result.dataset = counted.get();
    result.owned = std::move(counted);
  } else {
    result.dataset = LookUpDataset(text, components);
  }
  if (result.dataset) result.dataset->StartIteration();
  return result;
}

void ReleaseBandDataset(TvtBandDataset& band_dataset) {
  TvtBandDataset released = std::move(band_dataset);
  band_dataset = TvtBandDataset();
  if (released.dataset) released.dataset->EndIteration();
}

}  // namespace zr
