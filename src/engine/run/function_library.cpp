#include "engine/run/function_library.h"

#include <algorithm>

#include "engine/model/variables.h"
#include "engine/run/parser.h"

namespace zr {

void TvtInstalledFunctions::Add(const TvtFunctionLibrary* library, std::string_view name,
                                std::string_view category, std::string_view description) {
  if (category.empty()) return;
  const bool listed = std::any_of(items_.begin(), items_.end(), [&](const TvtFunctionDesc& d) {
    return same_name(d.name, name);
  });
  if (listed) return;
  items_.push_back({library, std::string(name), std::string(category), std::string(description)});
}

void TvtInstalledFunctions::RemoveLibrary(const TvtFunctionLibrary* library) {
  std::erase_if(items_, [&](const TvtFunctionDesc& d) { return d.library == library; });
}

bool TvtFunctionLibrary::HandleFunction(std::string_view name, const Value& p1, const Value& p2,
                                        const Value& p3, Value& val) {
  const int fno = FunctionNumber(name);
  if (fno < 0) return false;
  EvalFunction(fno, p1, p2, p3, val);
  return true;
}

int TvtFunctionLibrary::FunctionNumber(std::string_view name) const {
  const auto found = index_.find(name_key(name));
  return found == index_.end() ? -1 : found->second;
}

void TvtFunctionLibrary::AddFunctionDesc(std::string_view name, std::string_view category,
                                         std::string_view description) {
  context_.installed.Add(this, name, category, description);
}

void TvtFunctionLibrary::SetFunctionNames(std::vector<std::string> names) {
  names_ = std::move(names);
  index_.clear();
  for (size_t i = 0; i < names_.size(); ++i) {
    index_.emplace(name_key(names_[i]), static_cast<int>(i));
  }
}

Value TvtFunctionLibrary::Evaluate(const Value& argument) const {
  return context_.parser.Evaluate(argument.to_string(context_.fs));
}

std::string TvtFunctionLibrary::EvalText(const Value& argument) const {
  return Evaluate(argument).to_string(context_.fs);
}

int32_t TvtFunctionLibrary::EvalInt(const Value& argument) const {
  return Evaluate(argument).to_int(context_.fs);
}

double TvtFunctionLibrary::EvalFloat(const Value& argument) const {
  return Evaluate(argument).to_double(context_.fs);
}

double TvtFunctionLibrary::EvalDate(const Value& argument) const {
  return Evaluate(argument).to_date_time(context_.fs);
}

}  // namespace zr
