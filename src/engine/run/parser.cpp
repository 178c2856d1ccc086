#include "engine/run/parser.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/codepage.h"
#include "platform/date_time.h"
#include "platform/number_text.h"
#include "platform/rounding.h"
#include "platform/text_limit.h"

namespace zr {

namespace {

bool is_identifier_delimiter(char c) {
  switch (c) {
    case '\r':
    case ' ':
    case '(':
    case ')':
    case '*':
    case '+':
    case '-':
    case '/':
    case '<':
    case '=':
    case '>':
    case '[':
      return true;
    default:
      return false;
  }
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Operand tokens starting like this are numbers (",5" and ".5" included).
bool starts_number(std::string_view token) {
  return !token.empty() && (token[0] == ',' || token[0] == '.' || is_digit(token[0]));
}

// Binding level of an operator on the conversion stack; a lower level binds tighter.
int level_of(char code) {
  switch (code) {
    case op::kGreaterEqual:
    case op::kLessEqual:
    case op::kNotEqual:
    case '<':
    case '=':
    case '>':
      return 3;
    case op::kOr:
    case op::kAnd:
    case op::kNot:
    case op::kMod:
    case '*':
    case '/':
      return 1;
    case '+':
    case '-':
    case op::kNegate:
    case op::kPlus:
      return 2;
    case op::kInt:
    case op::kFrac:
    case op::kStr:
    case op::kRound:
      return 0;
    default:  // "("
      return 5;
  }
}

bool is_binary_code(char c) {
  switch (c) {
    case op::kGreaterEqual:
    case op::kLessEqual:
    case op::kNotEqual:
    case op::kOr:
    case op::kAnd:
    case op::kMod:
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

bool is_prefix_code(char c) {
  switch (c) {
    case op::kNot:
    case op::kNegate:
    case op::kPlus:
    case op::kInt:
    case op::kFrac:
    case op::kStr:
    case op::kRound:
      return true;
    default:
      return false;
  }
}

// The operator code of a keyword operand, or 0.
char keyword_code(std::string_view token) {
  const std::string upper = upper_ascii(token);
  if (upper == "INT") return op::kInt;
  if (upper == "FRAC") return op::kFrac;
  if (upper == "ROUND") return op::kRound;
  if (upper == "OR") return op::kOr;
  if (upper == "AND") return op::kAnd;
  if (upper == "NOT") return op::kNot;
  if (upper == "STR") return op::kStr;
  if (upper == "MOD") return op::kMod;
  return 0;
}

struct QuotedLiteral {
  std::string text;  // with its quotes
  bool closed = false;
};

QuotedLiteral read_quoted(std::string_view text, size_t& pos) {
  const size_t n = text.size();
  const size_t start = std::min(pos, n);
  QuotedLiteral literal;
  size_t i = start + 1;
  while (i < n) {
    if (text[i] == '\'') {
      if (i + 1 < n && text[i + 1] == '\'') {
        i += 2;
        continue;
      }
      literal.closed = true;
      ++i;
      break;
    }
    ++i;
  }
  i = std::min(i, n);
  literal.text = std::string(text.substr(start, i - start));
  pos = i;
  return literal;
}

// The literal's content: outer quotes removed, doubled quotes made single.
std::string unquote(const QuotedLiteral& literal) {
  std::string_view body(literal.text);
  if (!body.empty()) body.remove_prefix(1);
  if (literal.closed && !body.empty()) body.remove_suffix(1);
  std::string result;
  result.reserve(body.size());
  for (size_t i = 0; i < body.size(); ++i) {
    result += body[i];
    if (body[i] == '\'' && i + 1 < body.size() && body[i + 1] == '\'') ++i;
  }
  return result;
}

// Depth of nested evaluations; variables and function arguments can refer to themselves.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) {
    if (depth_ >= kMaxEvaluationDepth) throw ZorelError("Expression nested too deeply");
    ++depth_;
  }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

// Infix to postfix over a private copy of the source.
class PostfixConverter {
 public:
  explicit PostfixConverter(std::string_view source) : src_(source) {}

  std::string run() {
    size_t i = 0;
    while (i < src_.size()) {
      const char c = src_[i];
      if (c == '\r' || c == ' ') {
        ++i;
      } else if (c == '(') {
        stack_ += '(';
        operand_ = false;
        ++i;
      } else if (c == ')') {
        close_parenthesis();
        ++i;
      } else if (c == ';') {
        break;
      } else if (c == '*' || c == '+' || c == '-' || c == '/' || c == '<' || c == '=' || c == '>') {
        i = read_operator(i);
      } else {
        i = read_operand(i);
      }
    }
    flush_stack();
    return std::move(out_);
  }

 private:
  size_t read_operator(size_t i) {
    char code = src_[i];
    const char next = i + 1 < src_.size() ? src_[i + 1] : '\0';
    if (code == '<' && next == '>') {
      code = op::kNotEqual;
    } else if (code == '>' && next == '=') {
      code = op::kGreaterEqual;
    } else if (code == '<' && next == '=') {
      code = op::kLessEqual;
    }
    if (code != src_[i]) ++i;
    push_operator(code, true);
    return i + 1;
  }

  // Returns the position after the operand.
  size_t read_operand(size_t i) {
    const size_t n = src_.size();
    const size_t start = i;
    std::string token;
    if (src_[i] == '%') {
      token = src_.substr(i, 2);
      i += token.size();
    }
    if (i < n && src_[i] == '\'') {
      token += read_quoted(src_, i).text;
    } else if (i < n && src_[i] == '[') {
      token += bracketed(i);
    } else {
      token += ReadIdentifier(src_, i);
      if (i < n && src_[i] == '[') token += bracketed(i);
    }

    if (starts_number(token)) return put_operand(token, i);
    if (const char code = keyword_code(token)) {
      push_operator(code, false);
      return i;
    }
    if (i < n && src_[i] == '(') {
      size_t end = i;
      ReadArguments(src_, end);
      out_.append(src_, start, end - start);
      operand_ = true;
      return end;
    }
    return put_operand(token, i);
  }

  // "[" inner "]", moving `i` past the "]".
  std::string bracketed(size_t& i) {
    size_t finish = i;
    std::string inner = ReadBracketed(src_, i, finish);
    i = std::min(finish + 1, src_.size());
    return "[" + inner + "]";
  }

  size_t put_operand(const std::string& token, size_t next) {
    out_ += token;
    out_ += ' ';
    operand_ = true;
    return next;
  }

  void push_operator(char code, bool sign_test) {
    if (sign_test && !operand_) {
      if (code == '-') code = op::kNegate;
      if (code == '+') code = op::kPlus;
    }
    operand_ = false;
    // Equal levels pop, so binary operators group from the left; "(" (level 5) never pops.
    const int level = level_of(code);
    while (!stack_.empty() && level >= level_of(stack_.back())) {
      out_ += stack_.back();
      stack_.pop_back();
    }
    stack_ += code;
  }

  void close_parenthesis() {
    const size_t open = stack_.rfind('(');
    if (open == std::string::npos) return;  // a stray ")" is ignored
    for (size_t k = stack_.size(); k > open + 1; --k) out_ += stack_[k - 1];
    stack_.resize(open);
  }

  void flush_stack() {
    for (size_t k = stack_.size(); k > 0; --k) out_ += stack_[k - 1];
    stack_.clear();
  }

  std::string src_;
  std::string out_;
  std::string stack_;  // the top is the last character
  bool operand_ = false;
};

}  // namespace

std::string ReadIdentifier(std::string_view text, size_t& pos) {
  const size_t n = text.size();
  size_t i = std::min(pos, n);
  while (i < n && static_cast<unsigned char>(text[i]) <= 32) ++i;
  const size_t start = i;
  bool quoted = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && is_identifier_delimiter(c)) {
      break;
    }
  }
  pos = i;
  return std::string(text.substr(start, i - start));
}

std::string ReadQuoted(std::string_view text, size_t& pos) {
  return read_quoted(text, pos).text;
}

FunctionArguments ReadArguments(std::string_view text, size_t& pos) {
  const size_t n = text.size();
  FunctionArguments args;
  int depth = 1;
  bool quoted = false;
  int piece_number = 1;
  size_t piece_start = pos + 1;
  size_t i = pos + 1;
  bool closed = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c == '\'') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth == 0) {
        closed = true;
        break;
      }
    } else if (c == ',' && depth == 1) {
      // Only three arguments are supported: later pieces keep overwriting the second.
      (piece_number == 1 ? args.a1 : args.a2) = text.substr(piece_start, i - piece_start);
      piece_start = i + 1;
      ++piece_number;
    }
  }
  if (!closed) throw UnbalancedArgumentsError();
  const std::string_view last = text.substr(piece_start, i - piece_start);
  if (piece_number == 1) args.a1 = last;
  if (piece_number == 2) args.a2 = last;
  if (piece_number == 3) args.a3 = last;
  pos = i + 1;
  return args;
}

std::string ReadBracketed(std::string_view text, size_t start, size_t& finish) {
  const size_t n = text.size();
  if (start >= n || text[start] != '[') {
    finish = start;
    return {};
  }
  int depth = 0;
  bool in_single = false;
  bool in_double = false;
  for (size_t i = start; i < n; ++i) {
    const char c = text[i];
    if (!in_single && !in_double) {
      if (c == '[') ++depth;
      if (c == ']' && --depth == 0) {
        finish = i;
        return std::string(text.substr(start + 1, i - start - 1));
      }
    }
    if (c == '"' && !in_single) {
      in_double = !in_double;
    } else if (c == '\'' && !in_double) {
      in_single = !in_single;
    }
  }
  finish = n;
  return std::string(text.substr(start + 1));
}

std::string TvtParser::ToPostfix(std::string_view expression) {
  return PostfixConverter(expression).run();
}

std::string TvtParser::CachedPostfix(std::string_view expression) {
  constexpr size_t kMaxCached = 4096;  // a report has far fewer; generated texts must not grow it
  if (auto found = postfix_cache_.find(expression); found != postfix_cache_.end())
    return found->second;
  std::string postfix = ToPostfix(expression);
  if (postfix_cache_.size() >= kMaxCached) postfix_cache_.clear();
  postfix_cache_.emplace(std::string(expression), postfix);
  return postfix;
}

// One run of a postfix string over its own operand stack (slots 1..kOperandStackSize; slot
// 0 is never used so that indices read as the classic ones).
class TvtParser::Evaluation {
 public:
  Evaluation(TvtParser& parser, std::string_view postfix) : parser_(parser), text_(postfix) {}

  Value run() {
    slots_[1] = Value(int32_t{0});
    size_t pos = 0;
    while (pos < text_.size()) {
      const char c = text_[pos];
      if (is_binary_code(c)) {
        binary(c);
        --sp_;
      } else if (is_prefix_code(c)) {
        prefix(c);
      } else if (c == '[') {
        pos = bracketed_name(pos);
      } else if (c != ' ') {
        pos = operand(pos);
      }
      ++pos;  // skips the blank after an operand, or the ")" of a call
    }
    return slots_[1];
  }

 private:
  void binary(char c) {
    if (sp_ < 3) throw ZorelError("Operator without operand in expression");
    Value& a = slots_[sp_ - 2];
    const Value& b = slots_[sp_ - 1];
    switch (c) {
      case '+':
        a = a + b;
        break;
      case '-':
        a = a - b;
        break;
      case '*':
      case op::kAnd:
        a = a * b;
        break;
      case '/':
        a = b == Value(int32_t{0}) ? Value(int32_t{0}) : a / b;
        break;
      case op::kMod:
        a = value_mod(a, b);
        break;
      case op::kOr:
        a = value_or(a, b);
        break;
      default:
        a = Value::byte(compare(c, a.compare(b)) ? 1 : 0);
        break;
    }
  }

  static bool compare(char c, int order) {
    switch (c) {
      case '=':
        return order == 0;
      case op::kNotEqual:
        return order != 0;
      case '<':
        return order < 0;
      case '>':
        return order > 0;
      case op::kLessEqual:
        return order <= 0;
      default:  // op::kGreaterEqual
        return order >= 0;
    }
  }

  void prefix(char c) {
    if (sp_ < 2) throw ZorelError("Operator without operand in expression");
    Value& x = slots_[sp_ - 1];
    switch (c) {
      case op::kNot:
        x = Value::byte(x == Value(int32_t{0}) ? 1 : 0);
        break;
      case op::kNegate:
        x = -x;
        break;
      case op::kPlus:
        break;
      case op::kInt: {
        const double d = x.to_double();
        const double n = round_half_even_double(d);
        x = Value(std::fabs(n - d) < 1e-10 ? n : std::trunc(d));
        break;
      }
      case op::kFrac: {
        double d = x.to_double();
        const double n = round_half_even_double(d);
        if (std::fabs(n - d) < 1e-10) d = n;
        x = Value(d - std::trunc(d));
        break;
      }
      case op::kRound:
        x = Value(Value(x.to_double()).to_int());
        break;
      default:  // op::kStr
        x = Value(x.to_string());
        break;
    }
  }

  // Returns the position of the "]".
  size_t bracketed_name(size_t pos) {
    size_t finish = pos;
    const std::string name = ReadBracketed(text_, pos, finish);
    push(get_value(name));
    return finish;
  }

  // Returns the position of the operand's last character or of the delimiter after it.
  size_t operand(size_t pos) {
    const size_t n = text_.size();
    if (text_[pos] == '\'') {
      const QuotedLiteral literal = read_quoted(text_, pos);
      push(Value(unquote(literal)));
      return pos;
    }
    const std::string id = ReadIdentifier(text_, pos);
    if (starts_number(id)) {
      push(number(id));
      return pos;
    }
    const std::string upper = upper_ascii(id);
    if (upper == "TRUE" || upper == "FALSE") {
      push(Value(upper == "TRUE"));
      return pos;
    }
    if (pos < n && text_[pos] == '[') {
      size_t finish = pos;
      const std::string index = ReadBracketed(text_, pos, finish);
      ensure_room();
      push(parser_.Evaluate("GETARRAY(" + id + ", " + index + ")"));
      return finish;
    }
    if (pos < n && text_[pos] == '(') {
      size_t end = pos;
      const FunctionArguments args = ReadArguments(text_, end);
      ensure_room();
      push(call(ansi_upper(id), args));
      return end - 1;
    }
    push(get_value(ansi_upper(id)));
    return pos;
  }

  static Value number(std::string text) {
    const FormatSettings& fs = FormatSettings::defaults();
    // A point and a comma both serve as the decimal point.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == ',' || c == '.'; },
        fs.decimal_separator);
    return Value(str_to_float(text, fs));
  }

  Value get_value(const std::string& name) {
    ensure_room();
    Value value;
    if (parser_.OnGetValue) parser_.OnGetValue(name, value);
    return value;
  }

  Value call(const std::string& name, const FunctionArguments& args) {
    if (name == "COPY") return copy(args);
    if (name == "IF") {
      const double condition = str_to_float(parser_.Evaluate(args.a1).to_string());
      return parser_.Evaluate(std::trunc(condition) != 0 ? args.a2 : args.a3);
    }
    if (name == "STRTODATE") {
      return Value::date_time(
          str_to_date(parser_.Evaluate(args.a1).to_string(), FormatSettings::defaults()));
    }
    if (name == "STRTOTIME") {
      return Value::date_time(
          str_to_time(parser_.Evaluate(args.a1).to_string(), FormatSettings::defaults()));
    }
    Value value;
    if (parser_.OnFunction) {
      parser_.OnFunction(name, Value(args.a1), Value(args.a2), Value(args.a3), value);
    }
    // The owner's functions build text of their own (formats, string functions); none may
    // pass on a text longer than the limit.
    if (value.is_string()) check_text_length(value.raw_string().size());
    return value;
  }

  // Substring from a 1-based position; positions below 1 count from the first character.
  Value copy(const FunctionArguments& args) {
    const std::string text = parser_.Evaluate(args.a1).to_string();
    const int64_t from = str_to_int(parser_.Evaluate(args.a2).to_string());
    const int64_t count = str_to_int(parser_.Evaluate(args.a3).to_string());
    const int64_t start = std::max<int64_t>(from, 1) - 1;
    const int64_t size = static_cast<int64_t>(text.size());
    if (start >= size || count <= 0) return Value(std::string());
    return Value(text.substr(static_cast<size_t>(start),
                             static_cast<size_t>(std::min(count, size - start))));
  }

  void ensure_room() const {
    if (sp_ > kOperandStackSize) throw ZorelError("Too many operands in expression");
  }

  void push(Value value) {
    ensure_room();
    slots_[sp_++] = std::move(value);
  }

  TvtParser& parser_;
  std::string_view text_;
  std::array<Value, kOperandStackSize + 1> slots_;
  int sp_ = 1;  // the next free slot
};

Value TvtParser::EvaluatePostfix(std::string_view postfix) {
  DepthGuard guard(depth_);
  return Evaluation(*this, postfix).run();
}

}  // namespace zr
