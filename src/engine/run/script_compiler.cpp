#include "engine/run/script_compiler.h"

#include <limits>
#include <map>
#include <optional>
#include <string_view>

#include "engine/run/compiled_script.h"
#include "engine/run/parser.h"
#include "platform/codepage.h"

namespace zr {

namespace {

constexpr size_t kUnset = std::numeric_limits<size_t>::max();

bool is_blank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Bytes of double-byte characters count as letters, so names may be Korean.
bool is_letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         static_cast<unsigned char>(c) >= 0x80;
}

bool is_name_char(char c) {
  return is_letter(c) || is_digit(c) || c == '.';
}

// Characters a token is cut back to when it starts with one.
bool is_operator_char(char c) {
  return std::string_view(";:=<>+-*/(),").find(c) != std::string_view::npos;
}

class Compiler {
 public:
  explicit Compiler(const std::vector<std::string>& source) {
    size_t size = 0;
    for (const std::string& line : source) {
      line_lengths_.push_back(line.size());
      size += line.size() + 1;
    }
    too_long_ = size > kMaxScriptSize;
    if (too_long_) return;
    buf_.reserve(size);
    for (const std::string& line : source) {
      for (char c : line) buf_ += c == '\t' ? ' ' : c;
      buf_ += '\r';
    }
  }

  void run(std::vector<std::string>& compiled, std::vector<std::string>& errors) {
    compiled.clear();
    errors.clear();
    if (too_long_) {
      fail("Script is too long", kMaxScriptSize);
    } else {
      statement();
    }
    finish(compiled);
    if (error_) errors.push_back(*error_);
  }

 private:
  struct Line {
    char code = 0;           // script::kConditionalJump, kJump, kEvaluate; 0 for an assignment
    std::string name;        // assignment target
    std::string expression;  // infix; becomes postfix in finish()
    size_t target = kUnset;  // jumps
    size_t pos = 0;          // where the expression starts, for errors
    size_t cuts = 0;         // comments removed before `pos` was known
  };
  struct Cut {
    size_t pos, length;
  };
  struct Goto {
    size_t line;
    std::string label;
    size_t pos, cuts;
  };
  struct Span {
    std::string text;
    size_t pos;
  };

  // One level of statement or bracket nesting; recursion is bounded so no input exhausts
  // the stack.
  class Level {
   public:
    explicit Level(Compiler& c) : c_(c), ok_(!c.failed_ && c.depth_ < kMaxScriptNesting) {
      if (ok_) {
        ++c_.depth_;
      } else {
        c_.fail("Script nested too deeply", c_.cur_);
      }
    }
    ~Level() {
      if (ok_) --c_.depth_;
    }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;
    explicit operator bool() const { return ok_; }

   private:
    Compiler& c_;
    bool ok_;
  };

  // ---- buffer ----

  char at(size_t i) const { return i < buf_.size() ? buf_[i] : '\0'; }
  bool at_assign() const { return at(cur_) == ':' && at(cur_ + 1) == '='; }
  std::string text(size_t from, size_t to) const { return buf_.substr(from, to - from); }

  // Removes a comment starting at `i`. "//" runs up to the line break, which stays: it
  // separates what comes before from the next line.
  bool cut_comment(size_t i) {
    size_t end;
    if (at(i) == '{') {
      end = buf_.find('}', i);
      end = end == std::string::npos ? buf_.size() : end + 1;
    } else if (at(i) == '/' && at(i + 1) == '/') {
      end = buf_.find('\r', i);
      if (end == std::string::npos) end = buf_.size();
    } else {
      return false;
    }
    buf_.erase(i, end - i);
    cuts_.push_back({i, end - i});
    return true;
  }

  void skip_blanks() {
    do {
      while (cur_ < buf_.size() && is_blank(buf_[cur_])) ++cur_;
    } while (cut_comment(cur_));
  }

  // The next blank-separated token in upper case (" " at the end of the text); a token that
  // starts with an operator is cut back to it. `token_start_` marks where it began.
  std::string token() {
    skip_blanks();
    token_start_ = cur_;
    if (cur_ >= buf_.size()) return " ";
    const char c = buf_[cur_];
    if (is_operator_char(c)) {
      const char next = at(cur_ + 1);
      const bool pair =
          ((c == ':' || c == '<' || c == '>') && next == '=') || (c == '<' && next == '>');
      cur_ += pair ? 2 : 1;
      return text(token_start_, cur_);
    }
    bool quoted = false;  // no comments inside a quoted literal
    while (cur_ < buf_.size()) {
      if (!quoted && cut_comment(cur_)) continue;
      if (is_blank(buf_[cur_])) break;
      if (buf_[cur_] == '\'') quoted = !quoted;
      ++cur_;
    }
    return upper_ascii(text(token_start_, cur_));
  }

  // ---- statements ----

  void statement() {
    Level level(*this);
    if (!level) return;
    while (label()) {
    }
    if (failed_) return;
    const std::string word = token();
    if (word == "BEGIN") return block();
    if (word == "IF") return if_statement();
    if (word == "REPEAT") return repeat_statement();
    if (word == "WHILE") return while_statement();
    if (word == "FOR") return for_statement();
    if (word == "GOTO") return goto_statement();
    cur_ = token_start_;
    if (word == "END" || word == "END;" || word == "UNTIL") return;  // for the enclosing one
    simple_statement();
  }

  // A number followed by ":" marks the next line.
  bool label() {
    skip_blanks();
    const size_t start = cur_;
    size_t p = cur_;
    while (is_digit(at(p))) ++p;
    const size_t end = p;
    while (p < buf_.size() && is_blank(buf_[p])) ++p;
    if (end == start || at(p) != ':' || at(p + 1) == '=') return false;
    const std::string name = text(start, end);
    if (!labels_.emplace(name, lines_.size()).second) {
      fail("Label \"" + name + "\" is defined twice", start);
      return false;
    }
    cur_ = p + 1;
    return true;
  }

  void block() {
    for (;;) {
      statement();
      if (failed_) return;
      const std::string word = token();
      if (word == ";") continue;
      if (word == "END") return;
      if (word == "END;") {
        cur_ = token_start_ + 3;  // the ";" belongs to the enclosing list
        return;
      }
      return fail("Need \";\" or \"end\" here", token_start_);
    }
  }

  void if_statement() {
    const Span condition = checked_expression();
    if (failed_) return;
    if (token() != "THEN") return fail("Need \"then\" here", token_start_);
    const size_t jump = emit_jump(script::kConditionalJump, condition);
    statement();
    const size_t after_then = cur_;
    if (!failed_ && token() == "ELSE") {
      const size_t skip = emit_jump(script::kJump, {});
      set_target(jump, lines_.size());
      statement();
      set_target(skip, lines_.size());
    } else {
      cur_ = after_then;
      set_target(jump, lines_.size());
    }
  }

  void repeat_statement() {
    const size_t first = lines_.size();
    for (;;) {
      statement();
      if (failed_) return;
      const std::string word = token();
      if (word == ";") continue;
      if (word == "UNTIL") break;
      return fail("Need \";\" or \"until\" here", token_start_);
    }
    const Span condition = checked_expression();
    set_target(emit_jump(script::kConditionalJump, condition), first);
  }

  void while_statement() {
    const Span condition = checked_expression();
    if (failed_) return;
    if (token() != "DO") return fail("Need \"do\" here", token_start_);
    const size_t top = emit_jump(script::kConditionalJump, condition);
    statement();
    if (failed_) return;
    set_target(emit_jump(script::kJump, {}), top);
    set_target(top, lines_.size());
  }

  // for v := a to b do s  =>  v := a; top: if not (v <= b) goto end; s; v := v + 1; goto top
  void for_statement() {
    skip_blanks();
    const size_t start = cur_;
    designator(false);
    if (failed_) return;
    const size_t name_end = cur_;
    skip_blanks();
    if (name_end == start || !at_assign()) return fail("Need \":=\" here", cur_);
    const std::string variable = text(start, cur_);  // trailing blanks kept, as written
    cur_ += 2;
    const Span from = checked_expression();
    if (failed_) return;
    if (token() != "TO") return fail("Need \"to\" here", token_start_);
    const Span to = checked_expression();
    if (failed_) return;
    if (token() != "DO") return fail("Need \"do\" here", token_start_);
    emit_assignment(variable, from);
    const size_t top = emit_jump(script::kConditionalJump, {variable + "<=" + to.text, to.pos});
    statement();
    if (failed_) return;
    emit_assignment(variable, {variable + "+1", start});
    set_target(emit_jump(script::kJump, {}), top);
    set_target(top, lines_.size());
  }

  void goto_statement() {
    skip_blanks();
    const size_t start = cur_;
    while (is_digit(at(cur_))) ++cur_;
    if (cur_ == start) return fail("\"goto\" label must be a number", start);
    const size_t line = emit_jump(script::kJump, {});
    if (line != kUnset) gotos_.push_back({line, text(start, cur_), start, cuts_.size()});
  }

  // Assignment, procedure call or expression statement.
  void simple_statement() {
    skip_blanks();
    const size_t start = cur_;
    if (!is_letter(at(cur_))) return expression_statement(start);
    designator(false);
    if (failed_) return;
    if (at(cur_) == '(') return expression_statement(start);
    const std::string name = text(start, cur_);
    skip_blanks();
    if (at_assign()) {
      cur_ += 2;
      return emit_assignment(name, checked_expression());
    }
    const std::string next = token();
    if (next == ";" || next == "END" || next == "END;" || next == "ELSE") {
      cur_ = token_start_;
      emit(Line{script::kEvaluate, {}, name + "(0)", kUnset, start, 0});
      return;
    }
    fail("Need \":=\" here", token_start_);
  }

  void expression_statement(size_t start) {
    cur_ = start;
    expression();
    if (failed_) return;
    const std::string call = text(start, cur_);
    if (call.find_first_not_of(" \r") == std::string::npos) return;  // nothing to run
    emit(Line{script::kEvaluate, {}, call, kUnset, start, 0});
  }

  // ---- expressions: syntax only; the parser gives them meaning when the script runs ----

  // The expression text from the cursor, blanks included.
  Span checked_expression() {
    const size_t start = cur_;
    skip_blanks();
    const size_t pos = cur_;
    expression();
    return {text(start, cur_), pos};
  }

  void expression() {
    simple_expression();
    if (failed_) return;
    const size_t p = cur_;
    skip_blanks();
    const char c = at(cur_);
    const char next = at(cur_ + 1);
    if ((c == '>' && next == '=') || (c == '<' && (next == '=' || next == '>'))) {
      cur_ += 2;
    } else if (c == '<' || c == '=' || c == '>') {
      cur_ += 1;
    } else {
      cur_ = p;
      return;
    }
    simple_expression();
  }

  void simple_expression() {
    term();
    while (!failed_) {
      const size_t p = cur_;
      skip_blanks();
      if (at(cur_) == '+' || at(cur_) == '-') {
        cur_ += 1;
      } else if (word_at("OR")) {
        cur_ += 2;
      } else {
        cur_ = p;
        return;
      }
      term();
    }
  }

  void term() {
    factor();
    while (!failed_) {
      const size_t p = cur_;
      skip_blanks();
      if (at(cur_) == '*' || at(cur_) == '/') {
        cur_ += 1;
      } else if (word_at("AND") || word_at("MOD")) {
        cur_ += 3;
      } else {
        cur_ = p;
        return;
      }
      factor();
    }
  }

  // Anything that is no factor is left in place for the caller to find out of place.
  void factor() {
    Level level(*this);
    if (!level) return;
    skip_blanks();
    const size_t start = cur_;
    const char c = at(cur_);
    if (c == '(') {
      ++cur_;
      expression();
      close_with(')', "Need \")\" here");
    } else if (c == '[') {
      size_t finish = cur_;
      ReadBracketed(buf_, cur_, finish);
      if (finish >= buf_.size()) return fail("Need \"]\" here", start);
      cur_ = finish + 1;
    } else if (c == '+' || c == '-') {
      ++cur_;
      expression();
    } else if (c == '\'') {
      quoted_string();
    } else if (is_digit(c)) {
      while (is_digit(at(cur_))) ++cur_;
      if (at(cur_) == '.') ++cur_;
      while (is_digit(at(cur_))) ++cur_;
    } else if (is_letter(c) || c == '"') {
      designator(true);
      if (failed_) return;
      if (upper_ascii(text(start, cur_)) == "NOT") return expression();
      if (at(cur_) == '(') arguments();
    }
  }

  // Letters, digits, "." and "_" (and, in expressions, double-quoted parts as in
  // "Table"."Field"), optionally followed by "[" index "]".
  void designator(bool quoted_parts) {
    bool quoted = false;
    while (cur_ < buf_.size()) {
      if (!quoted && cut_comment(cur_)) continue;
      const char c = buf_[cur_];
      if (c == '"' && (quoted || quoted_parts)) {
        quoted = !quoted;
      } else if (!quoted && !is_name_char(c)) {
        break;
      }
      ++cur_;
    }
    if (at(cur_) == '[') {
      ++cur_;
      expression();
      close_with(']', "Need \"]\" here");
    }
  }

  void arguments() {
    ++cur_;  // "("
    while (!failed_) {
      expression();
      if (failed_) return;
      skip_blanks();
      if (at(cur_) == ',') {
        ++cur_;
      } else {
        return close_with(')', "Need \",\" or \")\" here");
      }
    }
  }

  void quoted_string() {
    ++cur_;
    while (cur_ < buf_.size()) {
      if (buf_[cur_++] != '\'') continue;
      if (at(cur_) != '\'') return;
      ++cur_;  // a doubled quote stands for one
    }
  }

  void close_with(char closing, const char* message) {
    if (failed_) return;
    skip_blanks();
    if (at(cur_) != closing) return fail(message, cur_);
    ++cur_;
  }

  // True when the text at the cursor starts with `word` (an operator keyword), in any case.
  bool word_at(std::string_view word) const {
    if (buf_.size() - cur_ < word.size()) return false;
    return upper_ascii(std::string_view(buf_).substr(cur_, word.size())) == word;
  }

  // ---- output ----

  size_t emit(Line line) {
    if (failed_) return kUnset;
    if (lines_.size() >= script::kMaxLines) {
      fail("Script is too long", line.pos);
      return kUnset;
    }
    line.cuts = cuts_.size();
    lines_.push_back(std::move(line));
    return lines_.size() - 1;
  }

  size_t emit_jump(char code, const Span& condition) {
    return emit(Line{code, {}, condition.text, kUnset, condition.pos, 0});
  }

  // An indexed target becomes a SETARRAY call.
  void emit_assignment(const std::string& name, const Span& value) {
    const size_t bracket = name.find('[');
    if (bracket == std::string::npos) {
      emit(Line{0, name, value.text, kUnset, value.pos, 0});
      return;
    }
    size_t finish = bracket;
    const std::string index = ReadBracketed(name, bracket, finish);
    const std::string call =
        "SETARRAY(" + name.substr(0, bracket) + ", " + index + ", " + value.text + ")";
    emit(Line{script::kEvaluate, {}, call, kUnset, value.pos, 0});
  }

  void set_target(size_t line, size_t target) {
    if (line != kUnset) lines_[line].target = target;
  }

  // Patches gotos, then writes every line with its expression in postfix form. Jumps left
  // without a target (by an error) end the run.
  void finish(std::vector<std::string>& compiled) {
    for (const Goto& jump : gotos_) {
      const auto label = labels_.find(jump.label);
      if (label != labels_.end()) {
        set_target(jump.line, label->second);
      } else {
        fail_at("Label \"" + jump.label + "\" is not defined", jump.pos, jump.cuts);
      }
    }
    const size_t end = lines_.size();
    TvtParser parser;
    for (const Line& line : lines_) {
      std::string out;
      if (line.code == script::kConditionalJump || line.code == script::kJump) {
        const size_t target = line.target == kUnset ? end : line.target;
        out = line.code + script::target_bytes(static_cast<uint16_t>(target));
      } else if (line.code == script::kEvaluate) {
        out = line.code;
      } else {
        out = line.name + " ";
      }
      if (line.code != script::kJump) {
        try {
          out += parser.ToPostfix(line.expression);
        } catch (const ZorelError& e) {
          // The checker accepts a few bracket mixes the parser cannot split.
          const std::string message = e.what();
          fail_at(message.empty() ? "Need \",\" or \")\" here" : message, line.pos, line.cuts);
          return;
        }
      }
      compiled.push_back(std::move(out));
    }
  }

  // ---- errors ----

  void fail(const std::string& message, size_t pos) { fail_at(message, pos, cuts_.size()); }

  // `pos` is a buffer position taken when the first `cuts` comments had been removed.
  void fail_at(const std::string& message, size_t pos, size_t cuts) {
    if (failed_) return;
    failed_ = true;
    for (size_t k = cuts; k > 0; --k) {
      if (pos >= cuts_[k - 1].pos) pos += cuts_[k - 1].length;
    }
    error_ = location(pos) + ": " + message;
  }

  // "Line n/c" of a position in the source as written.
  std::string location(size_t pos) const {
    size_t line = 0;
    size_t start = 0;
    while (line + 1 < line_lengths_.size() && pos >= start + line_lengths_[line] + 1) {
      start += line_lengths_[line] + 1;
      ++line;
    }
    size_t column = pos - start;
    if (!line_lengths_.empty()) column = std::min(column, line_lengths_[line]);
    return "Line " + std::to_string(line + 1) + "/" + std::to_string(column + 1);
  }

  std::string buf_;  // the source with comments removed as they are met
  size_t cur_ = 0;
  size_t token_start_ = 0;
  std::vector<size_t> line_lengths_;
  std::vector<Cut> cuts_;  // in the order made, each at a position of the buffer as it was
  std::vector<Line> lines_;
  std::map<std::string, size_t> labels_;  // label text -> line it marks
  std::vector<Goto> gotos_;
  int depth_ = 0;
  bool too_long_ = false;
  bool failed_ = false;
  std::optional<std::string> error_;
};

}  // namespace

void CompileScriptLines(const std::vector<std::string>& source, std::vector<std::string>& compiled,
                        std::vector<std::string>& errors) {
  Compiler(source).run(compiled, errors);
}

}  // namespace zr
