#include "viewer/com_result.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace zr {
namespace {

TEST(ComResultTest, EscapingExceptionsFollowTheConvention) {
  struct Case {
    std::function<void()> raise;
    int32_t code;
    std::string description;
  };
  const Case cases[] = {
      {[] { throw SystemError(E_NOINTERFACE, "Interface not supported"); }, E_NOINTERFACE,
       "Interface not supported"},
      // Only negative system codes pass; a success code cannot describe a failure.
      {[] { throw SystemError(5, "odd"); }, E_UNEXPECTED, "odd"},
      {[] { throw ConversionError("'red' is not a valid integer value"); }, E_UNEXPECTED,
       "'red' is not a valid integer value"},
      {[] { throw std::runtime_error("plain"); }, E_UNEXPECTED, "plain"},
      {[] { throw 42; }, E_UNEXPECTED, "Unknown error"},
  };
  for (const Case& c : cases) {
    ComResult result = com_call([&](ComResult&) { c.raise(); });
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.code, c.code) << c.description;
    EXPECT_EQ(result.description, c.description);
    EXPECT_EQ(result.interface_name, "IzrViewer");
  }
}

TEST(ComResultTest, SuccessCarriesTheValue) {
  ComResult result = com_call([](ComResult& r) { r.value = Value(int32_t{7}); });
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.code, S_OK);
  EXPECT_TRUE(result.value.identical(Value(int32_t{7})));
  EXPECT_TRUE(result.interface_name.empty());
  EXPECT_EQ(hresult_name(DISP_E_BADPARAMCOUNT), "DISP_E_BADPARAMCOUNT");
  EXPECT_EQ(hresult_name(static_cast<int32_t>(0x80040154)), "0x80040154");
}

}  // namespace
}  // namespace zr
