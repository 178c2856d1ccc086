#include "platform/table/data_packet_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/table/client_dataset.h"

namespace zr {
namespace {

std::string packet_path(const std::string& name) {
  return std::string(ZR_TEST_DATA_DIR) + "/packets/" + name;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A packet with the given FIELD elements and ROW elements.
std::string packet(const std::string& fields, const std::string& rows) {
  return R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0"><METADATA><FIELDS>)" +
         fields + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

Value date_time(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  return Value::date_time(encode_date(y, m, d) + encode_time(h, n, s, ms));
}

// "한글" and "홍길동" in code page 949; "이름" as a field name.
const std::string kHongAnsi = "\xC8\xAB\xB1\xE6\xB5\xBF";
const std::string kNameAnsi = "\xC0\xCC\xB8\xA7";

TEST(DataPacketReaderTest, FieldTypesAndAttributes) {
  ClientDataset table("types");
  table.load_from_file(packet_path("types.xml"));
  ASSERT_TRUE(table.is_open());
  struct Expected {
    const char* name;
    FieldType type;
  };
  const Expected expected[] = {
      {"ID", FieldType::ftInteger},      {"Small", FieldType::ftSmallint},
      {"Tiny", FieldType::ftShortint},   {"UByte", FieldType::ftByte},
      {"Word", FieldType::ftWord},       {"LongWord", FieldType::ftLongWord},
      {"Big", FieldType::ftLargeint},    {"Auto", FieldType::ftAutoInc},
      {"Name", FieldType::ftString},     {"Code", FieldType::ftFixedChar},
      {"Wide", FieldType::ftWideString}, {"Rate", FieldType::ftFloat},
      {"Price", FieldType::ftCurrency},  {"Single", FieldType::ftSingle},
      {"Amount", FieldType::ftBCD},      {"Flag", FieldType::ftBoolean},
      {"Day", FieldType::ftDate},        {"At", FieldType::ftTime},
      {"Stamp", FieldType::ftDateTime},  {"Sales Rep", FieldType::ftString},
  };
  ASSERT_EQ(table.field_count(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(table.field(i).name, expected[i].name);
    EXPECT_EQ(table.field(i).type, expected[i].type) << expected[i].name;
  }
  EXPECT_STREQ(field_type_name(table.field(0).type), "ftInteger");
  EXPECT_TRUE(table.field(table.field_index("name")).required);
  EXPECT_EQ(table.field(table.field_index("Name")).size, 20);
  EXPECT_EQ(table.field(table.field_index("Wide")).size, 20);  // WIDTH counts UTF-16 bytes
  EXPECT_TRUE(table.field(table.field_index("Auto")).read_only);
  EXPECT_TRUE(table.field(table.field_index("SALES REP")).hidden);
  const FieldDef& amount = table.field(table.field_index("Amount"));
  EXPECT_EQ(amount.precision, 19);
  EXPECT_EQ(amount.decimals, 2);
}

TEST(DataPacketReaderTest, ValuesOfEveryScalarType) {
  ClientDataset table("types");
  table.load_from_file(packet_path("types.xml"));
  ASSERT_EQ(table.record_count(), 4u);
  struct Cell {
    int row;
    const char* field;
    Value expected;
  };
  const Cell cells[] = {
      {1, "ID", Value(int32_t{1})},
      {1, "Small", Value::small_int(-32768)},
      {1, "Tiny", Value::small_int(-5)},
      {1, "UByte", Value::small_int(255)},
      {1, "Word", Value(int32_t{65535})},
      {1, "LongWord", Value(int64_t{4294967295})},
      {1, "Big", Value(int64_t{9007199254740993})},
      {1, "Name", Value("  Kim & \"Lee\"\r\n")},  // verbatim, blanks and line break kept
      {1, "Code", Value("AB  ")},
      {1, "Rate", Value(19.6850393700787)},
      {1, "Price", Value(3999.95)},
      {1, "Single", Value(1.5e-7)},
      {1, "Amount", Value(10900400.0)},  // BCD with a trailing point
      {1, "Flag", Value(true)},
      {1, "Day", date_time(1996, 6, 15)},
      {1, "At", Value::date_time(encode_time(10, 0, 0, 0))},
      {1, "Stamp", date_time(1995, 2, 2, 1, 5, 3)},
      // An empty value is an empty string for text and null for everything else.
      {2, "Small", Value::null()},
      {2, "Name", Value("")},
      {2, "Day", Value::null()},
      {2, "Rate", Value(8.5)},  // decimal comma
      {2, "Price", Value(-2e20)},
      {2, "Flag", Value(false)},
      {2, "Stamp", date_time(1988, 4, 12)},                 // midnight written without the time
      {3, "Flag", Value(true)},                             // "1"
      {3, "Stamp", date_time(2024, 2, 29, 23, 59, 59, 5)},  // space, one millisecond digit
      {3, "At", Value::date_time(encode_time(23, 59, 59, 999))},
      // Absent attributes are null for every type, strings included.
      {3, "Name", Value::null()},
      {3, "Big", Value::null()},
      {4, "Flag", Value(false)},
  };
  for (const Cell& cell : cells) {
    table.first();
    for (int r = 1; r < cell.row; ++r) table.next();
    Value actual = table.value(cell.field);
    EXPECT_TRUE(actual.identical(cell.expected))
        << "row " << cell.row << " " << cell.field << ": " << describe(actual) << " expected "
        << describe(cell.expected);
  }
  table.first();
  EXPECT_EQ(table.display_text(table.field_index("Day")), "1996-06-15");
  EXPECT_EQ(table.display_text(table.field_index("Flag")), "True");
  EXPECT_EQ(table.display_text(table.field_index("Amount")), "10900400");
  table.next();
  EXPECT_TRUE(table.is_null(table.field_index("Small")));
  EXPECT_FALSE(table.is_null(table.field_index("Name")));
  EXPECT_EQ(table.display_text(table.field_index("Small")), "");
}

TEST(DataPacketReaderTest, PrettyPrintedPacketWithCaseBlindNames) {
  ClientDataset table;
  table.load_from_file(packet_path("pretty_crlf.xml"));
  ASSERT_EQ(table.field_count(), 2u);
  EXPECT_EQ(table.field(0).type, FieldType::ftInteger);   // FieldType="I4", ATTRNAME
  EXPECT_EQ(table.field(1).type, FieldType::ftDateTime);  // "datetime"
  EXPECT_TRUE(table.value("n").identical(Value(int32_t{7})));
  EXPECT_TRUE(table.value("d").identical(date_time(2001, 1, 1, 12)));  // no milliseconds
}

TEST(DataPacketReaderTest, EmptyPacketsKeepTheirFields) {
  for (const char* file : {"empty_rowdata.xml", "empty_rows.xml"}) {
    ClientDataset table;
    table.load_from_file(packet_path(file));
    EXPECT_TRUE(table.is_open()) << file;
    EXPECT_GE(table.field_count(), 1u) << file;
    EXPECT_EQ(table.record_count(), 0u) << file;
    table.first();
    EXPECT_TRUE(table.bof() && table.eof()) << file;
    EXPECT_TRUE(table.value(0).is_null()) << file;
    EXPECT_EQ(table.recno(), 0u);
  }
}

TEST(DataPacketReaderTest, ChangeLogRowsAreHiddenAndStrayParamsEndTolerated) {
  ClientDataset table;
  table.load_from_file(packet_path("change_log.xml"));
  std::vector<std::string> names;
  for (table.first(); !table.eof(); table.next()) names.push_back(table.value("Name").to_string());
  // Before-image (1), deleted (2) and unused (32) rows are gone; 8, 4 and 4+64 stay.
  EXPECT_EQ(names, (std::vector<std::string>{"kept", "new", "inserted", "master"}));
}

TEST(DataPacketReaderTest, BlobsTextMemosAndPictures) {
  ClientDataset table;
  table.load_from_file(packet_path("blobs.xml"));
  const std::string bmp = std::string("BM") + std::string("\0\1\2\3\4\5\6\7\10\11", 10);
  size_t pic = table.field_index("Pic"), typed = table.field_index("Typed");
  size_t data = table.field_index("Data"), notes = table.field_index("Notes");
  EXPECT_EQ(table.blob_bytes(pic), bmp);  // legacy header stripped
  // A header whose size does not match the rest is part of the data.
  EXPECT_EQ(table.blob_bytes(typed).size(), bmp.size() + 8);
  EXPECT_EQ(table.blob_bytes(data), std::string("\0\1\2\xFF", 4));
  EXPECT_TRUE(table.value(data).identical(Value(std::string("\0\1\2\xFF", 4))));
  EXPECT_EQ(table.blob_bytes(table.field_index("Raw")), "\xDE\xAD\xBE\xEF");
  EXPECT_TRUE(table.value(notes).identical(Value("line 1\r\nline 2")));  // not Base64
  EXPECT_EQ(table.display_text(pic), "(GRAPHIC)");
  EXPECT_EQ(table.display_text(notes), "(MEMO)");
  table.next();
  EXPECT_EQ(table.blob_bytes(pic), bmp);  // no header to strip
  EXPECT_TRUE(table.is_null(data));       // empty blob is null
  EXPECT_EQ(table.display_text(data), "(Blob)");
  EXPECT_TRUE(table.is_null(typed));
  EXPECT_TRUE(table.value(notes).identical(Value("")));
}

TEST(DataPacketReaderTest, KoreanTextBecomesCodePage949) {
  // UTF-8 declared, CP949 bytes without declaration, EUC-KR declared, and a section file with
  // page markup before and after the packet all read the same.
  for (const char* file :
       {"korean_utf8.xml", "korean_cp949.xml", "korean_euckr.xml", "section_page.txt"}) {
    ClientDataset table;
    table.load_from_file(packet_path(file));
    ASSERT_EQ(table.field_count(), 3u) << file;
    EXPECT_EQ(table.field(1).name, kNameAnsi) << file;
    EXPECT_EQ(table.value(kNameAnsi).raw_string(), kHongAnsi) << file;
    EXPECT_EQ(table.value("Memo").raw_string(), "\xBC\xAD\xBF\xEF & \xBA\xCE\xBB\xEA") << file;
    EXPECT_EQ(table.record_count(), 2u) << file;
  }
}

TEST(DataPacketReaderTest, PageTextAroundThePacketIsIgnored) {
  // The page's own declaration is not the packet's: only the one right before DATAPACKET is.
  const std::string section =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<html><body>\r\n"
      "<?xml version=\"1.0\" encoding=\"euc-kr\"?>  " +
      packet(R"(<FIELD attrname="N" fieldtype="string"/>)", "<ROW N=\"" + kHongAnsi + "\"/>") +
      "\r\n</body></html>\r\nDATANAME=x\r\n";
  ClientDataset table;
  table.load_from_bytes(section, "section");
  EXPECT_EQ(table.value("N").raw_string(), kHongAnsi);
  // Without any declaration, bytes that are not UTF-8 are read in the code page of the options.
  ClientDataset latin;
  DataPacketOptions options;
  options.code_page = 1252;
  latin.load_from_bytes(
      "<html>\r\n" + packet(R"(<FIELD attrname="N" fieldtype="string"/>)", "<ROW N=\"caf\xE9\"/>")
                         .substr(std::strlen(R"(<?xml version="1.0" standalone="yes"?>  )")),
      "latin", options);
  EXPECT_EQ(latin.value("N").raw_string(), "caf\xE9");
}

// 8-bit text without an encoding declaration: the code page of the packet's LCID, else the
// engine's code page when the bytes are well-formed there, else Windows-1252; the text then
// arrives in the engine's code page. A stray lead byte before a quote no longer breaks the XML.
TEST(DataPacketReaderTest, EightBitTextFollowsLcidThenEngineThenWestern) {
  struct Case {
    const char* what;
    std::string declaration;  // empty: none
    std::string params;       // the PARAMS element
    std::string value;        // raw bytes of the row value
    int engine_code_page;
    std::string expected;  // in the engine's code page
  };
  const std::string plain = R"(<?xml version="1.0" standalone="yes"?>  )";
  const Case cases[] = {
      {"acute accent before the quote, no LCID", plain, "<PARAMS/>", "O\xB4", 949, "O\xA2\xA5"},
      {"Western LCID", plain, R"(<PARAMS LCID="1033"/>)", "It\xB4s 5\xB0", 949,
       "It\xA2\xA5s 5\xA1\xC6"},
      {"LCID in lower case, single quotes", "", "<PARAMS lcid = '2057'/>", "\xD7", 949, "\xA1\xBF"},
      {"Russian LCID", plain, R"(<PARAMS LCID="1049"/>)", "\xCF\xF0", 949, "\xAC\xB1\xAC\xE2"},
      {"Korean LCID", plain, R"(<PARAMS LCID="1042"/>)", kHongAnsi, 949, kHongAnsi},
      {"no LCID, well-formed in the engine's code page", plain, "<PARAMS/>", kHongAnsi, 949,
       kHongAnsi},
      {"no LCID, not Korean: Western", plain, "<PARAMS/>", "caf\xE9 \xB4", 949, "caf? \xA2\xA5"},
      {"no LCID, Western engine", plain, "<PARAMS/>", "caf\xE9 \xB4", 1252, "caf\xE9 \xB4"},
      {"declared encoding wins over LCID",
       R"(<?xml version="1.0" encoding="windows-1252" standalone="yes"?>  )",
       R"(<PARAMS LCID="1042"/>)", "\xB4", 949, "\xA2\xA5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string bytes =
        c.declaration +
        R"(<DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname="N" fieldtype="string" WIDTH="20"/></FIELDS>)" +
        c.params + "</METADATA><ROWDATA><ROW N=\"" + c.value + "\"/></ROWDATA></DATAPACKET>";
    DataPacketOptions options;
    options.code_page = c.engine_code_page;
    ClientDataset table;
    ASSERT_NO_THROW(table.load_from_bytes(bytes, "packet", options));
    EXPECT_EQ(table.value("N").raw_string(), c.expected);
  }
}

TEST(DataPacketReaderTest, NestedTablesAreReadable) {
  ClientDataset table;
  table.load_from_file(packet_path("nested.xml"));
  ASSERT_EQ(table.field_count(), 4u);
  size_t orders = table.field_index("Orders");
  EXPECT_EQ(table.field(orders).type, FieldType::ftDataSet);
  EXPECT_EQ(table.field(3).type, FieldType::ftUnknown);  // struct: kept as an always-null field
  EXPECT_TRUE(table.value(3).is_null());
  ASSERT_EQ(table.load_notes().size(), 1u);
  EXPECT_NE(table.load_notes()[0].find("struct"), std::string::npos);
  EXPECT_EQ(table.display_text(orders), "(DATASET)");
  ClientDataset* detail = table.nested_dataset(orders);
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->record_count(), 2u);  // the deleted detail row is hidden
  EXPECT_TRUE(detail->value("OrderNo").identical(Value(1023.0)));
  ClientDataset* items = detail->nested_dataset(detail->field_index("Items"));
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->record_count(), 2u);
  detail->next();
  EXPECT_TRUE(detail->value("OrderNo").identical(Value(1076.0)));
  table.next();  // empty container
  EXPECT_EQ(table.nested_dataset(orders)->record_count(), 0u);
  table.next();  // no container
  EXPECT_EQ(table.nested_dataset(orders)->record_count(), 0u);
  EXPECT_EQ(table.nested_dataset(orders)->field_count(), 3u);
}

struct MalformedCase {
  const char* name;
  std::string bytes;
  const char* message;  // expected in what()
  int line;             // 0 = not checked
};

TEST(DataPacketReaderTest, MalformedPacketsRaiseFormatErrors) {
  const std::string i4 = R"(<FIELD attrname="ID" fieldtype="i4"/>)";
  std::string deep = i4;  // nested tables 20 levels deep
  for (int level = 0; level < 20; ++level)
    deep = R"(<FIELD attrname="N" fieldtype="nested"><FIELDS>)" + deep + "</FIELDS></FIELD>";
  const MalformedCase cases[] = {
      {"not XML", read_file(packet_path("not_xml.txt")), "malformed XML", 2},
      {"truncated", read_file(packet_path("truncated.xml")), "malformed XML", 1},
      {"no DATAPACKET", read_file(packet_path("no_datapacket.html")),
       "no_datapacket is not a data packet", 0},
      {"empty input", "", "empty is not a data packet", 0},
      {"bad integer", read_file(packet_path("bad_value.xml")),
       "line 6: row 2, field 'Qty': 'abc' is not a valid integer", 6},
      {"no FIELDS", "<DATAPACKET><METADATA/></DATAPACKET>", "has no METADATA/FIELDS", 1},
      {"unknown type", packet(R"(<FIELD attrname="X" fieldtype="blob"/>)", ""),
       "field 'X': unknown field type 'blob'", 1},
      {"no attrname", packet(R"(<FIELD fieldtype="i4"/>)", ""), "FIELD 1 has no attrname", 1},
      {"duplicate", packet(i4 + R"(<FIELD attrname="id" fieldtype="i2"/>)", ""),
       "duplicate field name 'id'", 1},
      {"out of range", packet(R"(<FIELD attrname="S" fieldtype="i2"/>)", R"(<ROW S="40000"/>)"),
       "row 1, field 'S': '40000' is not in the field's range", 1},
      {"bad date", packet(R"(<FIELD attrname="D" fieldtype="date"/>)", R"(<ROW D="15.06.1996"/>)"),
       "field 'D': '15.06.1996' is not a valid date", 1},
      {"bad dateTime",
       packet(R"(<FIELD attrname="D" fieldtype="dateTime"/>)", R"(<ROW D="19960230"/>)"),
       "'19960230' is not a valid date and time", 1},
      {"bad boolean", packet(R"(<FIELD attrname="B" fieldtype="boolean"/>)", R"(<ROW B="yes"/>)"),
       "'yes' is not a valid boolean", 1},
      {"bad float", packet(R"(<FIELD attrname="F" fieldtype="r8"/>)", R"(<ROW F="1,5,0"/>)"),
       "'1,5,0' is not a valid number", 1},
      {"bad Base64",
       packet(R"(<FIELD attrname="B" fieldtype="bin.hex" SUBTYPE="Binary"/>)", R"(<ROW B="a*b"/>)"),
       "'a*b' is not valid Base64", 1},
      {"too deep", packet(deep, ""), "nested tables are nested too deeply", 1},
      {"unknown encoding", R"(<?xml version="1.0" encoding="no-such-charset"?><DATAPACKET/>)",
       "unsupported encoding 'no-such-charset'", 0},
  };
  for (const MalformedCase& c : cases) {
    std::string name = c.name == std::string("no DATAPACKET") ? "no_datapacket"
                       : c.name == std::string("empty input") ? "empty"
                                                              : "input.xml";
    try {
      read_data_packet(c.bytes, name);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const FormatError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.name << ": " << e.what();
      if (c.line) {
        EXPECT_EQ(e.line().value_or(0), c.line) << c.name << ": " << e.what();
      }
    }
  }
}

TEST(DataPacketReaderTest, FailedLoadLeavesTheDatasetClosed) {
  ClientDataset table("t");
  table.load_from_file(packet_path("empty_rows.xml"));
  EXPECT_THROW(table.load_from_file(packet_path("bad_value.xml")), FormatError);
  EXPECT_FALSE(table.is_open());
  EXPECT_EQ(table.field_count(), 0u);
  EXPECT_THROW(table.load_from_file(packet_path("no_such_file.xml")), IoError);
  table.load_from_file(packet_path("empty_rows.xml"));  // may be loaded again
  EXPECT_TRUE(table.is_open());
}

}  // namespace
}  // namespace zr
