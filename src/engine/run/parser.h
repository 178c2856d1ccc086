#pragma once
// The report expression language: infix text is converted to a postfix string (operands are
// pieces of source text, operators single characters with fixed codes) and the postfix string
// is run over a small operand stack. Names and function calls other than the four built-ins
// go to the owner through OnGetValue and OnFunction.
//
// Positions in the scanning routines are 0-based byte offsets into the text. A position at
// or past the end of the text is allowed everywhere and reads as the end.
//
// Errors: conversions (number tokens, COPY positions, IF conditions, STRTODATE/STRTOTIME
// texts) raise ConversionError; an argument list whose parentheses do not balance raises
// UnbalancedArgumentsError (empty message); an operator without its operands, more than
// kOperandStackSize pending operands or more than kMaxEvaluationDepth nested evaluations
// raise ZorelError. Errors of the callbacks pass through unchanged.
//
// Not thread-safe. An evaluation may re-enter the same parser through its callbacks (a
// variable holding an expression, a function evaluating its arguments); each nested call has
// its own operand stack, and the nesting is bounded.

#include <functional>
#include <string>
#include <string_view>

#include "platform/errors.h"
#include "platform/text_map.h"
#include "platform/value.h"

namespace zr {

// Operator characters of the postfix form. Compiled scripts and conditions keep postfix
// strings in memory, so the codes are fixed.
namespace op {
inline constexpr char kGreaterEqual = 1;
inline constexpr char kLessEqual = 2;
inline constexpr char kNotEqual = 3;
inline constexpr char kOr = 4;
inline constexpr char kAnd = 5;
inline constexpr char kInt = 6;
inline constexpr char kFrac = 7;
inline constexpr char kNegate = 9;
inline constexpr char kPlus = 10;
inline constexpr char kStr = 11;
inline constexpr char kNot = 12;
inline constexpr char kMod = 13;
inline constexpr char kRound = 14;
}  // namespace op

inline constexpr int kOperandStackSize = 32;
inline constexpr int kMaxEvaluationDepth = 64;

// Raised when a function's argument list does not close before the end of the text. The
// message is empty, as the system has always shown it; catch the type to tell it apart.
class UnbalancedArgumentsError : public ZorelError {
 public:
  UnbalancedArgumentsError() : ZorelError("", ErrorKind::Format) {}
};

struct FunctionArguments {
  std::string a1, a2, a3;
};

// Skips bytes with codes up to 32, then reads up to the next delimiter (CR, blank, "(", ")",
// "*", "+", "-", "/", "<", "=", ">", "[") that is not inside double quotes. `pos` ends on the
// delimiter (or at the end of the text).
std::string ReadIdentifier(std::string_view text, size_t& pos);

// `pos` is on an opening single quote. Returns the literal with both quotes, doubled quotes
// kept; `pos` ends just after it. An unterminated literal runs to the end of the text.
std::string ReadQuoted(std::string_view text, size_t& pos);

// `pos` is on "(". Splits up to the matching ")" at the commas of depth 1 (quoted text is
// not looked into). With four or more arguments a2 is the piece before the last one and the
// last piece is dropped. `pos` ends after ")". Raises UnbalancedArgumentsError when the text
// ends first.
FunctionArguments ReadArguments(std::string_view text, size_t& pos);

// `start` is on "[". Returns the text strictly between it and the matching "]" (brackets
// inside single or double quotes are not counted), with `finish` on that "]". When the
// character at `start` is not "[", returns "" with `finish` = `start`. When no "]" matches,
// returns the rest of the text with `finish` = text.size().
std::string ReadBracketed(std::string_view text, size_t start, size_t& finish);

class TvtParser {
 public:
  // The value of a name: bracketed names as written, bare identifiers in upper case.
  using TDetailEvent = std::function<void(const std::string& name, Value& value)>;
  // A call of a function other than the built-ins: the upper-case name and the source texts
  // of the first three arguments, not evaluated.
  using TFunctionEvent = std::function<void(const std::string& name, const Value& p1,
                                            const Value& p2, const Value& p3, Value& value)>;

  // Both start unset. An unset callback leaves its operand empty. The out value handed to a
  // callback is always a fresh empty value.
  TDetailEvent OnGetValue;
  TFunctionEvent OnFunction;

  std::string ToPostfix(std::string_view expression);
  Value EvaluatePostfix(std::string_view postfix);
  // Expressions are evaluated again and again (per record, per print): their postfix form,
  // which depends on the text alone, is kept.
  Value Evaluate(std::string_view expression) { return EvaluatePostfix(CachedPostfix(expression)); }

 private:
  class Evaluation;
  friend class Evaluation;

  // A copy: evaluating may convert other expressions, and a full cache starts over.
  std::string CachedPostfix(std::string_view expression);
  TextMap<std::string> postfix_cache_;

  int depth_ = 0;  // nested EvaluatePostfix calls in progress
};

}  // namespace zr
