#include "viewer/component_names.h"

#include <gtest/gtest.h>

#include "platform/errors.h"

namespace zr {
namespace {

TEST(ComponentNamesTest, IdentifierRule) {
  for (const char* good : {"A", "_", "DATAMASTER", "Sub_1", "x9"})
    EXPECT_TRUE(is_valid_component_name(good)) << good;
  for (const char* bad : {"", "1ABC", "a b", "a-b", "../../x", "/etc/x", "a.b", "\xC7\xD1"})
    EXPECT_FALSE(is_valid_component_name(bad)) << bad;
}

TEST(ComponentNamesTest, FormComponentsAreReservedIgnoringCase) {
  for (const char* taken : {"REPORT", "http", "MAP", "Image4", "VTADDFUNCTIONLIBRARY1", "expcsv"})
    EXPECT_TRUE(is_form_component_name(taken)) << taken;
  for (const char* free : {"Image5", "Reports", "DATAMASTER"})
    EXPECT_FALSE(is_form_component_name(free)) << free;
}

TEST(ComponentNamesTest, CheckExplainsTheRule) {
  try {
    check_section_name("../../x");
    FAIL() << "no error";
  } catch (const ZorelError& e) {
    EXPECT_EQ(e.kind(), ErrorKind::Argument);
    EXPECT_STREQ(e.what(),
                 "Invalid section name \"../../x\": a section name must be letters, digits and "
                 "underscores, not starting with a digit");
  }
  EXPECT_THROW(check_section_name("PANEL1"), ZorelError);
  EXPECT_THROW(check_section_name(std::string(kMaxSectionNameLength + 1, 'A')), ZorelError);
  EXPECT_NO_THROW(check_section_name(std::string(kMaxSectionNameLength, 'A')));
}

TEST(ComponentNamesTest, NamesOfOneLoadMustNotClashWithDerivedComponents) {
  EXPECT_NO_THROW(check_section_names_apart({"DATAMASTER", "DATADETAIL", "DS", "DATASET", "DSX"}));
  EXPECT_THROW(check_section_names_apart({"ORDERS", "DSORDERS"}), ZorelError);
  EXPECT_THROW(check_section_names_apart({"DATASETA", "A"}), ZorelError);
}

}  // namespace
}  // namespace zr
