// Placeholders until formatting and value resolution land.
#include "engine/report/report.h"

namespace zr {

std::string TvtReport::FormatExpressionValue(const std::string& e) {
  return e;
}
std::string TvtReport::FormatValue(const Value& v, int32_t, const std::string&) {
  return v.to_string();
}
void TvtReport::ResolveValue(const std::string&, Value&) {}
void TvtReport::ResolveSystemValue(const std::string&, Value&) {}
bool TvtReport::ResolveObjectProperty(const std::string&, TvtObject*&, std::string&) {
  return false;
}
void TvtReport::DispatchFunction(const std::string&, const Value&, const Value&, const Value&,
                                 Value&) {}
void TvtReport::WriteVariable(const std::string&, const Value&) {}
void TvtReport::EnterRect(TvtStrings&, TvtView&) {}

}  // namespace zr
