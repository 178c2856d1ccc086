#include "engine/run/function_splitter.h"

#include <algorithm>

#include "engine/run/parser.h"

namespace zr {

namespace {

std::string_view trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

bool is_separator(char c) {
  switch (c) {
    case '\r':
    case ' ':
    case '*':
    case '+':
    case '-':
    case '/':
    case '<':
    case '=':
    case '>':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TvtFunctionSplitter::matches(std::string_view name) const {
  return std::any_of(MatchFuncs.begin(), MatchFuncs.end(),
                     [&](const std::string& f) { return same_name(f, name); });
}

// An empty name is never a variable: scanning must stop on it.
const TVariable* TvtFunctionSplitter::variable(std::string_view name) const {
  if (!variables_ || name.empty()) return nullptr;
  const int index = variables_->IndexOf(name);
  return index >= 0 ? &variables_->Items()[index] : nullptr;
}

void TvtFunctionSplitter::split(std::string_view expression, int depth) {
  if (depth >= kMaxEvaluationDepth) throw ZorelError("Expression nested too deeply");
  const std::string_view text = trim(expression);
  if (text.empty() || text[0] == '\'') return;

  size_t pos = 0;
  while (pos < text.size()) {
    size_t p = pos;
    if (text[pos] == '[') {
      size_t finish = pos;
      std::string name = ReadBracketed(text, pos, finish);
      if (const TVariable* var = variable(name)) name = var->value.to_string();
      split(name, depth + 1);
      p = finish + 1;
    } else {
      const std::string id = ReadIdentifier(text, p);
      if (p < text.size() && text[p] == '(') {
        const FunctionArguments args = ReadArguments(text, p);
        split(args.a1, depth + 1);
        split(args.a2, depth + 1);
        split(args.a3, depth + 1);
        if (matches(id)) SplitTo.emplace_back(text.substr(pos, p - pos));
      } else if (const TVariable* var = variable(id)) {
        split(var->value.to_string(), depth + 1);
      } else if (p < text.size() && is_separator(text[p])) {
        ++p;
      } else if (id.empty() && p == pos) {
        break;  // blanks skipped before a "[" are not the end
      }
    }
    pos = p;
  }
}

}  // namespace zr
