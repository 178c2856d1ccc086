#pragma once
// A parser wired as a report wires it: function calls go through the registry to the
// installed libraries, names resolve to script variables and then to the constant list, and
// one-line scripts ("name := expression") assign script variables.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/model/variables.h"
#include "engine/run/add_function_library.h"
#include "engine/run/constant_list.h"
#include "engine/run/function_registry.h"
#include "engine/run/parser.h"
#include "engine/run/std_function_library.h"
#include "platform/date_time.h"
#include "platform/text_lines.h"
#include "platform/ui_services.h"

namespace zr {

class FunctionsTest : public ::testing::Test {
 protected:
  FunctionsTest() {
    FillConstantList(constants);
    registry.RegisterFunctionLibrary<TvtStdFunctionLibrary>();
    registry.RegisterFunctionLibrary<TAddFunctionLibrary>();
    ConnectParser(parser, registry);
    parser.OnGetValue = [this](const std::string& name, Value& value) {
      ++reads;
      const int index = variables.IndexOf(name);
      if (index >= 0) {
        value = variables.ValueAt(index);
      } else if (constants.IndexOf(name) >= 0) {
        value = constants.GetVariable(name);
      }
    };
    context.run_script_line = [this](const std::string& line) {
      const size_t assign = line.find(":=");
      ASSERT_NE(assign, std::string::npos) << line;
      const std::string name(trim_blanks(std::string_view(line).substr(0, assign)));
      variables.SetVariable(name, parser.Evaluate(line.substr(assign + 2)));
    };
  }

  Value eval(const std::string& expression) { return parser.Evaluate(expression); }

  // Each expression gives its value, kind included.
  struct CallCase {
    const char* expression;
    Value expected;
  };
  void expect_calls(std::initializer_list<CallCase> cases) {
    for (const CallCase& c : cases) {
      const Value got = eval(c.expression);
      // Date-times computed by different routes agree to well under a millisecond.
      const bool same =
          got.kind() == ValueKind::DateTime && c.expected.kind() == ValueKind::DateTime
              ? std::abs(got.raw_double() - c.expected.raw_double()) < 1e-9
              : got.identical(c.expected);
      EXPECT_TRUE(same) << c.expression << " gave " << describe(got) << ", expected "
                        << describe(c.expected);
    }
  }
  void set(const std::string& name, Value value) { variables.SetVariable(name, value); }

  HeadlessUi ui{nullptr};
  FixedClock clock{encode_date(2024, 5, 1)};
  TvtInstalledFunctions installed;
  TvtParser parser;
  TvtVariables variables;
  TvtVariables constants;
  int reads = 0;  // names resolved
  FunctionContext context{parser, ui, FormatSettings::defaults(), clock, installed};
  TvtFunctionRegistry registry{context};
};

}  // namespace zr
