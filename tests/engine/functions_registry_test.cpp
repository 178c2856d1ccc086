#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "functions_fixture.h"
#include "platform/errors.h"

namespace zr {
namespace {

// A library with one function, named after the library, that answers with the library's
// name; "SHARED" is served by every such library.
class NamedLibrary : public TvtFunctionLibrary {
 public:
  NamedLibrary(FunctionContext& context, std::string name)
      : TvtFunctionLibrary(context), name_(std::move(name)) {
    SetFunctionNames({name_, "SHARED"});
    AddFunctionDesc(name_, "Test", "A test function");
    AddFunctionDesc("SHARED", "Test", "Served by every test library");
  }
  std::string_view ClassName() const override { return name_; }
  void EvalFunction(int, const Value&, const Value&, const Value&, Value& val) override {
    val = Value(name_);
  }

 private:
  std::string name_;
};

TvtFunctionRegistry::Factory named(const std::string& name) {
  return [name](FunctionContext& c) { return std::make_unique<NamedLibrary>(c, name); };
}

using RegistryTest = FunctionsTest;

TEST_F(RegistryTest, RegistersEachClassOnce) {
  EXPECT_EQ(registry.Count(), 2);
  EXPECT_FALSE(registry.RegisterFunctionLibrary<TvtStdFunctionLibrary>());
  EXPECT_EQ(registry.Count(), 2);
  EXPECT_EQ(registry.Library(0)->ClassName(), "TvtStdFunctionLibrary");
  EXPECT_EQ(registry.Library(1)->ClassName(), "TAddFunctionLibrary");
  EXPECT_EQ(registry.Library(2), nullptr);
  EXPECT_EQ(registry.Library(-1), nullptr);
}

TEST_F(RegistryTest, ThirtyThirdRegistrationFailsCleanly) {
  for (int i = registry.Count(); i < TvtFunctionRegistry::kMaxLibraries; ++i) {
    ASSERT_TRUE(registry.RegisterFunctionLibrary("Lib" + std::to_string(i),
                                                 named("LIB" + std::to_string(i))));
  }
  EXPECT_EQ(registry.Count(), 32);
  EXPECT_THROW(registry.RegisterFunctionLibrary("Extra", named("EXTRA")), ZorelError);
  EXPECT_EQ(registry.Count(), 32);
  EXPECT_EQ(registry.Find("Extra"), nullptr);
  // The registry still serves every slot, the last one included.
  EXPECT_TRUE(eval("LIB31()").identical(Value("LIB31")));
  EXPECT_TRUE(eval("EXTRA()").identical(Value("0")));
  // A freed slot can be taken again.
  registry.UnregisterFunctionLibrary("Lib5");
  EXPECT_TRUE(registry.RegisterFunctionLibrary("Extra", named("EXTRA")));
  EXPECT_TRUE(eval("extra()").identical(Value("EXTRA")));
}

TEST_F(RegistryTest, DispatchTakesTheFirstLibraryThatServesTheName) {
  registry.RegisterFunctionLibrary("First", named("FIRST"));
  registry.RegisterFunctionLibrary("Second", named("SECOND"));
  EXPECT_TRUE(eval("SHARED()").identical(Value("FIRST")));
  // Unregistering closes the gap and keeps the order of the others.
  registry.UnregisterFunctionLibrary("First");
  EXPECT_EQ(registry.Count(), 3);
  EXPECT_EQ(registry.Library(2)->ClassName(), "SECOND");
  EXPECT_TRUE(eval("SHARED()").identical(Value("SECOND")));
  EXPECT_TRUE(eval("FIRST()").identical(Value("0")));
  registry.UnregisterFunctionLibrary("NoSuchLibrary");
  EXPECT_EQ(registry.Count(), 3);
}

TEST_F(RegistryTest, DispatchStartsFromTheStringZero) {
  Value val(42);
  EXPECT_FALSE(DispatchToLibraries(registry, "NOSUCH", "", "", "", val));
  EXPECT_TRUE(val.identical(Value("0")));
  EXPECT_TRUE(DispatchToLibraries(registry, "length", "'abcd'", "", "", val));
  EXPECT_TRUE(val.identical(Value(4)));
}

TEST_F(RegistryTest, DescriptionsFollowTheirRule) {
  // The program's string table has no category texts, so the standard libraries add none.
  EXPECT_EQ(installed.Count(), 0);
  registry.RegisterFunctionLibrary("First", named("FIRST"));
  registry.RegisterFunctionLibrary("Second", named("SECOND"));
  // "SHARED" is listed once, for the library that described it first.
  ASSERT_EQ(installed.Count(), 3);
  EXPECT_EQ(installed.Items()[1].name, "SHARED");
  EXPECT_EQ(installed.Items()[1].library, registry.Find("First"));
  registry.UnregisterFunctionLibrary("First");
  ASSERT_EQ(installed.Count(), 1);
  EXPECT_EQ(installed.Items()[0].name, "SECOND");
}

TEST(InstalledFunctions, StringTableTextsAreUsedWhenPresent) {
  HeadlessUi ui(nullptr);
  TvtParser parser;
  TvtInstalledFunctions installed;
  FunctionContext context{parser, ui, FormatSettings::defaults(), Clock::system(), installed};
  context.load_string = [](int number) { return "text " + std::to_string(number); };
  {
    TvtFunctionRegistry registry(context);
    registry.RegisterFunctionLibrary<TvtStdFunctionLibrary>();
    registry.RegisterFunctionLibrary<TAddFunctionLibrary>();
    ASSERT_GT(installed.Count(), 0);
    EXPECT_EQ(installed.Items()[0].name, "AVG");
    EXPECT_EQ(installed.Items()[0].category, "text 55349");
    EXPECT_EQ(installed.Items()[0].description, "text 55360");
    bool format_int = false;
    for (const TvtFunctionDesc& d : installed.Items()) {
      if (d.name == "FORMATINT") {
        format_int = true;
        EXPECT_EQ(d.description, "FORMATINT(<INTEGER>,<INTEGER>)/Format String");
      }
    }
    EXPECT_TRUE(format_int);
  }
  // Destroying the registry takes the descriptions with the libraries.
  EXPECT_EQ(installed.Count(), 0);
}

}  // namespace
}  // namespace zr
