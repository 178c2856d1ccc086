#include "engine/run/interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/run/compiled_script.h"
#include "engine/run/script_compiler.h"
#include "platform/text_lines.h"

namespace zr {
namespace {

using Lines = std::vector<std::string>;

// A compiled line as text: "?<target> postfix" for a conditional jump, "goto <target>",
// "call postfix", assignments as they are; postfix operator codes spelled out.
std::string readable(const std::string& line) {
  static const char* const kNames[] = {"",      "{>=}",  "{<=}",   "{<>}",  "{OR}",
                                       "{AND}", "{INT}", "{FRAC}", "",      "{NEG}",
                                       "{POS}", "{STR}", "{NOT}",  "{MOD}", "{ROUND}"};
  auto spell = [](std::string_view postfix) {
    std::string text;
    for (char c : postfix) {
      const auto code = static_cast<unsigned char>(c);
      text += code < std::size(kNames) && kNames[code][0] ? kNames[code] : std::string(1, c);
    }
    return text;
  };
  if (line.empty()) return "";
  switch (line[0]) {
    case script::kConditionalJump:
      return "?" + std::to_string(script::jump_target(line)) + " " + spell(line.substr(3));
    case script::kJump:
      return "goto " + std::to_string(script::jump_target(line));
    case script::kEvaluate:
      return "call " + spell(line.substr(1));
    default:
      return spell(line);
  }
}

Lines readable(const Lines& compiled) {
  Lines out;
  for (const std::string& line : compiled) out.push_back(readable(line));
  return out;
}

// Variables live in a list; INC(name) adds 1 to a variable, LOG(expr) records the value of
// its argument, FAIL(x) raises, anything else is recorded as NAME(p1|p2|p3).
class TestInterpreter : public TvtInterpretator {
 public:
  void ReadVariable(const std::string& name, Value& value) override {
    reads.push_back(name);
    value = vars.GetVariable(name);
    if (value.is_null()) value = Value();
  }
  void WriteVariable(const std::string& name, const Value& value) override {
    vars.SetVariable(name, value);
  }
  void CallFunction(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                    Value& value) override {
    if (name == "INC") {
      const std::string target(trim_blanks(p1.raw_string()));
      Value old = vars.GetVariable(target);
      vars.SetVariable(target, (old.is_null() ? Value(int32_t{0}) : old) + Value(int32_t{1}));
    } else if (name == "LOG") {
      log.push_back(Evaluate(p1.raw_string()).to_string());
    } else if (name == "FAIL") {
      throw ZorelError("failed in " + p1.raw_string());
    } else {
      calls.push_back(name + "(" + p1.to_string() + "|" + p2.to_string() + "|" + p3.to_string() +
                      ")");
      value = Value(int32_t{7});
    }
  }

  Lines compile(const Lines& source) {
    Lines compiled;
    CompileScript(source, compiled, errors);
    return compiled;
  }
  // Compiles and runs; fails the test on a syntax error.
  void run(const std::string& script) {
    const Lines compiled = compile(split_lines(script));
    ASSERT_TRUE(errors.empty()) << script << "\n" << errors[0];
    RunScript(compiled);
  }
  Value var(const std::string& name) const { return vars.GetVariable(name); }

  TvtVariables vars;
  Lines errors;
  Lines reads;
  Lines log;
  Lines calls;
};

struct CompileCase {
  const char* script;
  Lines expected;  // readable()
};

TEST(InterpreterCompile, EveryStatementKind) {
  const CompileCase cases[] = {
      {"begin x := 1; y := x + 1 end", {"x 1 ", "y x 1 +"}},
      // One statement only: the rest is not read.
      {"x := 1; y := 2", {"x 1 "}},
      {"if a > 1 then b := 1 else b := 2", {"?3 a 1 >", "b 1 ", "goto 4", "b 2 "}},
      {"if a then b := 1", {"?2 a ", "b 1 "}},
      {"while i < 3 do i := i + 1", {"?3 i 3 <", "i i 1 +", "goto 0"}},
      {"repeat i := i + 1; j := i until i >= 3", {"i i 1 +", "j i ", "?0 i 3 {>=}"}},
      // The loop variable keeps the blank before ":="; the limit is read on every pass.
      {"for i := 1 to n do s := s + i", {"i  1 ", "?5 i n {<=}", "s s i +", "i  i 1 +", "goto 1"}},
      {"begin 10: x := x + 1; if x < 3 then goto 10 end", {"x x 1 +", "?3 x 3 <", "goto 0"}},
      {"begin goto 20; x := 1; 20: end", {"goto 2", "x 1 "}},
      {"begin newpage; Memo1.Hide; exit end",
       {"call newpage(0)", "call Memo1.Hide(0)", "call exit(0)"}},
      {"if a then stop else go;", {"?3 a ", "call stop(0)", "goto 4", "call go(0)"}},
      {"begin inc(i); f(1, 'a,b') end", {"call inc(i)", "call f(1, 'a,b')"}},
      {"arr[i + 1] := 'x'", {"call SETARRAY(arr, i + 1,  'x')"}},
      {"Memo1.Font.Size := 12", {"Memo1.Font.Size 12 "}},
      {"x := [Name Of Thing] + \"T\".\"F\"", {"x [Name Of Thing] \"T\".\"F\" +"}},
      {"x := not (a = 1) and -b", {"x a 1 ={NOT}{AND}b {NEG}"}},
      {"x := a or b mod 2 <> 0", {"x a b {OR}2 {MOD}0 {<>}"}},
      // Operators need no blanks; a nested "end;" leaves its ";" to the outer list.
      {"begin a:=1;b:=a+1 end", {"a 1 ", "b a 1 +"}},
      {"begin if a then begin x := 1 end; y := 2; end", {"?2 a ", "x 1 ", "y 2 "}},
      {"begin ; ; end", {}},
      {"", {}},
      {"합계 := 1", {"합계 1 "}},
  };
  for (const CompileCase& c : cases) {
    TestInterpreter interpreter;
    EXPECT_EQ(readable(interpreter.compile(split_lines(c.script))), c.expected) << c.script;
    EXPECT_EQ(interpreter.errors, Lines{}) << c.script;
  }
}

struct RunCase {
  const char* script;
  const char* name;
  Value expected;
};

TEST(InterpreterRun, LeavesVariables) {
  const RunCase cases[] = {
      {"begin i := 0; repeat i := i + 1 until i >= 3 end", "i", 3},
      {"for i := 1 to 3 do n := n + 1", "n", 3},
      {"for i := 1 to 3 do n := n + 1", "i", 4},
      {"for i := 5 to 1 do n := 1", "n", Value::null()},
      {"begin n := 3; for i := 1 to n do n := n - 1 end", "i", 3},
      {"begin i := 0; while i < 4 do i := i + 3 end", "i", 6},
      {"begin x := 0; 10: x := x + 1; if x < 5 then goto 10 end", "x", 5},
      {"begin x := 1; goto 5; x := 2; 5: end", "x", 1},
      {"begin x := 1; exit; x := 2 end", "x", 1},
      {"if 1 > 2 then a := 'y' else if 2 > 1 then a := 'z' else a := 'w'", "a", "z"},
      {"begin s := ''; for i := 1 to 3 do s := s + 'ab' end", "s", "ababab"},
      {"begin inc(k); inc(k) end", "k", 2},
      {"begin x := 2; if x = 2 then begin x := x * 10; x := x + 1 end end", "x", 21},
      {"begin a := 'It''s'; a := a + ' {not} //comment' end", "a", "It's {not} //comment"},
      {"x := IF(1 = 1, 'yes', 'no')", "x", "yes"},
  };
  for (const RunCase& c : cases) {
    TestInterpreter interpreter;
    interpreter.run(c.script);
    const Value got = interpreter.var(c.name);
    if (c.expected.is_string() || c.expected.is_null()) {
      EXPECT_TRUE(got.identical(c.expected)) << c.script << ": " << describe(got);
    } else {
      EXPECT_TRUE(got.is_number() && got == c.expected) << c.script << ": " << describe(got);
    }
  }
}

TEST(InterpreterRun, NamesAndCallsReachTheOperations) {
  TestInterpreter interpreter;
  interpreter.run("begin x := [My Var] + price; arr[2] := f(a, b, c, d); log(x) end");
  // Bare identifiers in upper case, bracketed names as written; four arguments pass three.
  EXPECT_EQ(interpreter.reads, (Lines{"My Var", "PRICE", "X"}));
  EXPECT_EQ(interpreter.calls, (Lines{"SETARRAY(arr| 2|  f(a, b, c, d))"}));
  EXPECT_EQ(interpreter.log, Lines{"0"});
}

struct ErrorCase {
  Lines source;
  const char* error;
  size_t kept;  // compiled lines before the faulty statement
};

TEST(InterpreterCompile, ReportsTheFirstErrorWithLineAndColumn) {
  const ErrorCase cases[] = {
      {{"if a = 'x' thenx b := 1"}, "Line 1/12: Need \"then\" here", 0},
      {{"while a b := 1"}, "Line 1/9: Need \"do\" here", 0},
      {{"for i := 1 do x := 1"}, "Line 1/12: Need \"to\" here", 0},
      {{"for i := 1 to 3 x := 1"}, "Line 1/17: Need \"do\" here", 0},
      {{"for i = 1 to 3 do x := 1"}, "Line 1/7: Need \":=\" here", 0},
      {{"begin x := 1 y := 2 end"}, "Line 1/14: Need \";\" or \"end\" here", 1},
      {{"repeat x := 1 end"}, "Line 1/15: Need \";\" or \"until\" here", 1},
      {{"begin", "  x := 1;", "  y = 2", "end"}, "Line 3/5: Need \":=\" here", 1},
      {{"x + 1"}, "Line 1/3: Need \":=\" here", 0},
      // A bare name at the very end: the position is past its last character.
      {{"x"}, "Line 1/2: Need \":=\" here", 0},
      {{"goto x"}, "Line 1/6: \"goto\" label must be a number", 0},
      {{"begin x := 1; goto 10 end"}, "Line 1/20: Label \"10\" is not defined", 2},
      {{"begin 1: x := 1; 1: y := 2 end"}, "Line 1/18: Label \"1\" is defined twice", 1},
      {{"x := (1 + 2 end"}, "Line 1/13: Need \")\" here", 0},
      {{"x := f(1 2)"}, "Line 1/10: Need \",\" or \")\" here", 0},
      {{"x := [abc + 1"}, "Line 1/6: Need \"]\" here", 0},
      {{"x := a[1 + 2;"}, "Line 1/13: Need \"]\" here", 0},
      {{"begin x := 1;", "  if x then", "  begin y := 2; z 3 end", "end"},
       "Line 3/19: Need \":=\" here",
       3},
  };
  for (const ErrorCase& c : cases) {
    TestInterpreter interpreter;
    const Lines compiled = interpreter.compile(c.source);
    EXPECT_EQ(interpreter.errors, Lines{c.error}) << c.source[0];
    EXPECT_EQ(compiled.size(), c.kept) << c.source[0];
  }
}

TEST(InterpreterCompile, TruncatedProgramRunsUpToTheError) {
  TestInterpreter interpreter;
  const Lines errors = interpreter.CompileAndRun({"begin x := 1; if x = 1 then y := 2 else z"});
  EXPECT_EQ(errors, Lines{"Line 1/42: Need \":=\" here"});
  EXPECT_EQ(interpreter.var("x"), Value(1));
  EXPECT_EQ(interpreter.var("y"), Value(2));
}

TEST(InterpreterCompile, CommentsChangeNeitherLinesNorColumns) {
  const Lines plain = {"begin x := 1;", "  y := f(1 , 2) + 3;", "  if x > 0 then z := 2", "end"};
  const Lines commented = {"begin {first} x := 1; // set x", "  y := f(1 {one}, 2) {sum} + 3;",
                           "  {x}if x > 0 then z := 2 // done", "end"};
  TestInterpreter a;
  TestInterpreter b;
  EXPECT_EQ(a.compile(plain), b.compile(commented));
  EXPECT_EQ(b.errors, Lines{});

  // The same error in both: columns count the comments as written.
  struct Pair {
    Lines source;
    const char* error;
  };
  const Pair pairs[] = {
      {{"begin {a comment} x := 1 {c} y := 2 end"}, "Line 1/30: Need \";\" or \"end\" here"},
      {{"begin x := 1; // note", "  {x} if x thenx y := 1 end"}, "Line 2/12: Need \"then\" here"},
      {{"begin {multi", "line} x := 1 {again", "} y end"}, "Line 3/3: Need \";\" or \"end\" here"},
      {{"x := a + {c} (1 // c", "  {d}"}, "Line 2/6: Need \")\" here"},
  };
  for (const Pair& p : pairs) {
    TestInterpreter interpreter;
    interpreter.compile(p.source);
    EXPECT_EQ(interpreter.errors, Lines{p.error}) << p.source[0];
  }
}

TEST(InterpreterCompile, SourceMayBeTheCompiledList) {
  TestInterpreter interpreter;
  Lines script = {"begin x := 1;", "y := 2 end"};
  Lines errors = {"old"};
  interpreter.CompileScript(script, script, errors);
  EXPECT_EQ(readable(script), (Lines{"x 1 ", "y 2 "}));
  EXPECT_TRUE(errors.empty());
}

TEST(InterpreterCompile, BeyondTheClassicLimits) {
  // Longer than the classic 32000-character buffer and more than 101 labels of any length.
  std::string script = "begin ";
  for (int i = 0; i < 3000; ++i) script += "x := x + 1; ";
  for (int i = 0; i < 150; ++i) {
    script += "12345678901234567890" + std::to_string(i) + ": n := n + 1; ";
  }
  script += "if n < 300 then goto 12345678901234567890149 end";
  ASSERT_GT(script.size(), 32000u);
  TestInterpreter interpreter;
  interpreter.run(script);
  EXPECT_EQ(interpreter.var("x"), Value(3000));
  EXPECT_EQ(interpreter.var("n"), Value(300));

  // Past the limits: a clear error, nothing overrun.
  TestInterpreter big;
  big.compile({"begin", std::string(kMaxScriptSize, ' '), "end"});
  EXPECT_EQ(big.errors, Lines{"Line 2/65530: Script is too long"});

  TestInterpreter deep;
  deep.compile({"x := " + std::string(10000, '(')});
  ASSERT_EQ(deep.errors.size(), 1u);
  EXPECT_NE(deep.errors[0].find("Script nested too deeply"), std::string::npos);

  std::string nested;
  for (int i = 0; i < 5000; ++i) nested += "if a then ";
  TestInterpreter statements;
  statements.compile({nested + "x := 1"});
  ASSERT_EQ(statements.errors.size(), 1u);
  EXPECT_NE(statements.errors[0].find("Script nested too deeply"), std::string::npos);
}

TEST(InterpreterRun, ErrorsPropagateAfterEarlierLinesRan) {
  TestInterpreter interpreter;
  EXPECT_THROW(interpreter.run("begin x := 1; fail(here); x := 2 end"), ZorelError);
  EXPECT_EQ(interpreter.var("x"), Value(1));

  TestInterpreter conversion;
  EXPECT_THROW(conversion.run("x := 'abc' * 2"), ConversionError);
  // A condition that is not comparable with 0.
  EXPECT_THROW(conversion.run("if 'abc' then x := 1"), ConversionError);
  EXPECT_THROW(conversion.RunScript({std::string(1, script::kJump)}), ZorelError);
}

TEST(InterpreterRun, HostStopsEndlessLoops) {
  const Lines endless = split_lines("begin 10: x := x + 1; goto 10 end");
  TestInterpreter limited;
  limited.StepLimit = 1000;
  EXPECT_THROW(limited.CompileAndRun(endless), ScriptStoppedError);
  EXPECT_EQ(limited.var("x"), Value(500));

  TestInterpreter cancelled;
  int checks = 0;
  cancelled.OnCancel = [&checks] { return ++checks > 10; };
  EXPECT_THROW(cancelled.CompileAndRun(endless), ScriptStoppedError);
  EXPECT_EQ(cancelled.var("x"), Value(5));

  // The limit counts per run: a script within it runs every time.
  TestInterpreter again;
  again.StepLimit = 6;
  const Lines compiled = again.compile(split_lines("for i := 1 to 1 do n := n + 1"));
  again.RunScript(compiled);
  again.RunScript(compiled);
  EXPECT_EQ(again.var("n"), Value(2));
}

TEST(InterpreterRun, ListsFunctionCalls) {
  TestInterpreter interpreter;
  const Lines compiled = interpreter.compile(split_lines(
      "begin if SUM(x) > 1 then y := avg(z) + v; f(COUNT(q)); while MIN(a) < 1 do a := 1 end"));
  ASSERT_TRUE(interpreter.errors.empty());
  TvtVariables variables;
  variables.SetVariable("V", Value("MAX(w) * 2"));
  Lines calls = {"kept"};
  TvtInterpretator::ListFunctionCalls(compiled, {"SUM", "AVG", "COUNT", "MIN", "MAX"}, &variables,
                                      calls);
  EXPECT_EQ(calls, (Lines{"kept", "SUM(x)", "avg(z)", "MAX(w)", "COUNT(q)", "MIN(a)"}));
}

}  // namespace
}  // namespace zr
