#include "engine/run/function_registry.h"

#include <string>

#include "engine/run/parser.h"
#include "platform/errors.h"

namespace zr {

TvtFunctionRegistry::~TvtFunctionRegistry() {
  // Latest first, as they were built.
  while (count_ > 0) {
    context_.installed.RemoveLibrary(slots_[count_ - 1].get());
    slots_[--count_].reset();
  }
}

bool TvtFunctionRegistry::RegisterFunctionLibrary(std::string_view class_name,
                                                  const Factory& factory) {
  if (IndexOf(class_name) >= 0) return false;
  if (count_ >= kMaxLibraries) throw ZorelError("Too many function libraries");
  slots_[count_] = factory(context_);
  names_[count_] = std::string(class_name);
  ++count_;
  return true;
}

void TvtFunctionRegistry::UnregisterFunctionLibrary(std::string_view class_name) {
  const int index = IndexOf(class_name);
  if (index < 0) return;
  context_.installed.RemoveLibrary(slots_[index].get());
  slots_[index].reset();
  for (int i = index; i + 1 < count_; ++i) {
    slots_[i] = std::move(slots_[i + 1]);
    names_[i] = std::move(names_[i + 1]);
  }
  --count_;
  names_[count_].clear();
}

TvtFunctionLibrary* TvtFunctionRegistry::Library(int index) const {
  return index >= 0 && index < count_ ? slots_[index].get() : nullptr;
}

TvtFunctionLibrary* TvtFunctionRegistry::Find(std::string_view class_name) const {
  return Library(IndexOf(class_name));
}

bool TvtFunctionRegistry::HandleFunction(std::string_view name, const Value& p1, const Value& p2,
                                         const Value& p3, Value& val) const {
  for (int i = 0; i < count_; ++i) {
    if (slots_[i]->HandleFunction(name, p1, p2, p3, val)) return true;
  }
  return false;
}

int TvtFunctionRegistry::IndexOf(std::string_view class_name) const {
  for (int i = 0; i < count_; ++i) {
    if (names_[i] == class_name) return i;
  }
  return -1;
}

bool DispatchToLibraries(const TvtFunctionRegistry& registry, std::string_view name,
                         const Value& p1, const Value& p2, const Value& p3, Value& val) {
  val = Value("0");
  return registry.HandleFunction(name, p1, p2, p3, val);
}

void ConnectParser(TvtParser& parser, const TvtFunctionRegistry& registry) {
  parser.OnFunction = [&registry](const std::string& name, const Value& p1, const Value& p2,
                                  const Value& p3, Value& val) {
    DispatchToLibraries(registry, name, p1, p2, p3, val);
  };
}

}  // namespace zr
