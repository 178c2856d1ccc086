#pragma once
// The base of every function library, and the description list that feeds a function picker.
//
// A library serves the calls the expression parser hands on: an upper-case name and the
// source texts of up to three arguments, not evaluated. A name's position in FunctionNames is
// its function number. Libraries evaluate their arguments themselves through the context's
// parser, so an argument may hold brackets, variables and further calls.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/run/function_context.h"
#include "platform/value.h"

namespace zr {

class TvtFunctionLibrary;

struct TvtFunctionDesc {
  const TvtFunctionLibrary* library = nullptr;  // not owned
  std::string name;
  std::string category;
  std::string description;
};

// Not used while a report runs; only a picker reads it.
class TvtInstalledFunctions {
 public:
  // Adds a description unless `category` is empty or the name is already listed (names
  // compare without regard to case).
  void Add(const TvtFunctionLibrary* library, std::string_view name, std::string_view category,
           std::string_view description);
  // Drops every description of `library`.
  void RemoveLibrary(const TvtFunctionLibrary* library);
  const std::vector<TvtFunctionDesc>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<TvtFunctionDesc> items_;
};

class TvtFunctionLibrary {
 public:
  // `context` must outlive the library.
  explicit TvtFunctionLibrary(FunctionContext& context) : context_(context) {}
  virtual ~TvtFunctionLibrary() = default;
  TvtFunctionLibrary(const TvtFunctionLibrary&) = delete;
  TvtFunctionLibrary& operator=(const TvtFunctionLibrary&) = delete;

  // Registered libraries are told apart by this name.
  virtual std::string_view ClassName() const = 0;

  // Looks `name` up without regard to case; when listed, computes the call into `val` and
  // returns true. Errors of the evaluation propagate.
  virtual bool HandleFunction(std::string_view name, const Value& p1, const Value& p2,
                              const Value& p3, Value& val);
  // Computes function number `fno`; p1..p3 are the argument source texts.
  virtual void EvalFunction(int fno, const Value& p1, const Value& p2, const Value& p3,
                            Value& val) = 0;

  // -1 when the name is not listed.
  int FunctionNumber(std::string_view name) const;
  const std::vector<std::string>& FunctionNames() const { return names_; }

  void AddFunctionDesc(std::string_view name, std::string_view category,
                       std::string_view description);

 protected:
  // Constructors list the names in function-number order.
  void SetFunctionNames(std::vector<std::string> names);

  FunctionContext& context() const { return context_; }
  const FormatSettings& fs() const { return context_.fs; }

  // Argument evaluation and conversion by the variant rules; failures raise
  // ConversionError.
  Value Evaluate(const Value& argument) const;
  std::string EvalText(const Value& argument) const;
  int32_t EvalInt(const Value& argument) const;
  double EvalFloat(const Value& argument) const;
  double EvalDate(const Value& argument) const;

 private:
  FunctionContext& context_;
  std::vector<std::string> names_;
  std::unordered_map<std::string, int> index_;  // name_key -> function number
};

}  // namespace zr
