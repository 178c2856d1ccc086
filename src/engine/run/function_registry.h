#pragma once
// The function-library registry and the dispatch that the report's function resolver and the
// script interpreter share: name -> library (in registration order) -> function number ->
// EvalFunction.
//
// Not thread-safe; lives as long as the engine state that owns it.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/run/function_library.h"

namespace zr {

class TvtParser;

class TvtFunctionRegistry {
 public:
  static constexpr int kMaxLibraries = 32;
  using Factory = std::function<std::unique_ptr<TvtFunctionLibrary>(FunctionContext&)>;

  // `context` must outlive the registry; libraries are built with it.
  explicit TvtFunctionRegistry(FunctionContext& context) : context_(context) {}
  ~TvtFunctionRegistry();
  TvtFunctionRegistry(const TvtFunctionRegistry&) = delete;
  TvtFunctionRegistry& operator=(const TvtFunctionRegistry&) = delete;

  // Builds the library into the next free slot under `class_name` (the name later calls use;
  // the template takes Library::kClassName), unless one with the same class name is
  // registered (then nothing happens and the result is false). A full registry raises
  // ZorelError "Too many function libraries" and builds nothing.
  bool RegisterFunctionLibrary(std::string_view class_name, const Factory& factory);
  template <class Library>
  bool RegisterFunctionLibrary() {
    return RegisterFunctionLibrary(Library::kClassName, [](FunctionContext& c) {
      return std::unique_ptr<TvtFunctionLibrary>(std::make_unique<Library>(c));
    });
  }

  // Drops the library's descriptions, destroys it and closes the gap; the order of the
  // others is kept. Unknown names are ignored.
  void UnregisterFunctionLibrary(std::string_view class_name);
  template <class Library>
  void UnregisterFunctionLibrary() {
    UnregisterFunctionLibrary(Library::kClassName);
  }

  int Count() const { return count_; }
  // Null when out of range.
  TvtFunctionLibrary* Library(int index) const;
  TvtFunctionLibrary* Find(std::string_view class_name) const;

  // Offers the call to each library in slot order and stops at the first that serves it.
  // Returns false when none does (`val` is then left as it was). Errors propagate.
  bool HandleFunction(std::string_view name, const Value& p1, const Value& p2, const Value& p3,
                      Value& val) const;

 private:
  int IndexOf(std::string_view class_name) const;

  FunctionContext& context_;
  std::array<std::unique_ptr<TvtFunctionLibrary>, kMaxLibraries> slots_{};
  std::array<std::string, kMaxLibraries> names_{};  // the class names registered
  int count_ = 0;
};

// The first stages of the report's function dispatch: the result starts as the string "0",
// then the registered libraries are tried. Returns whether a library served the name; the
// report goes on with its own functions when none did.
bool DispatchToLibraries(const TvtFunctionRegistry& registry, std::string_view name,
                         const Value& p1, const Value& p2, const Value& p3, Value& val);

// Points the parser's OnFunction at DispatchToLibraries (for evaluation outside a report).
// `registry` must outlive the parser's use of the callback.
void ConnectParser(TvtParser& parser, const TvtFunctionRegistry& registry);

}  // namespace zr
