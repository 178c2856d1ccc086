// TvtBarcode: element codes by symbology, compared with a reference encoder (zint) where the
// symbology is the same and with vectors worked out by hand from the symbology tables where
// the encoding is this system's own (MSI's check digit, PostNet, UPC-E's check digit).
#include "objects/barcode.h"

#include <gtest/gtest.h>

#include "objects/barcode_tools.h"

namespace zr {
namespace {

using testing_support::HaveProgram;
using testing_support::Modules;
using testing_support::WithoutTrailingSpaces;
using testing_support::ZintModules;

TvtBarcode Make(int type, const std::string& text, bool checksum = false, double ratio = 2.0) {
  TvtBarcode b;
  b.Typ = type;
  b.SetText(text);
  b.Checksum = checksum;
  b.Ratio = ratio;
  return b;
}

struct ZintCase {
  int type;
  std::string text;
  bool checksum;
  double ratio;  // zint's wide elements: 2 or 3 modules
  int zint_type;
  std::string zint_data;
  std::string zint_options;
};

TEST(BarcodeReference, ModulesMatchZint) {
  if (!HaveProgram("zint")) GTEST_SKIP() << "zint is not installed (scripts/setup)";
  const ZintCase cases[] = {
      {bcCode_2_5_interleaved, "1234", false, 3, 3, "1234", ""},
      {bcCode_2_5_interleaved, "12345", false, 3, 3, "1234", ""},  // the odd digit is dropped
      {bcCode_2_5_industrial, "1234509", false, 3, 7, "1234509", ""},
      {bcCode_2_5_matrix, "1234509", false, 3, 2, "1234509", ""},
      {bcCode39, "CODE-39 $/+%.", false, 2, 8, "CODE-39 $/+%.", ""},
      {bcCode39, "12345678", true, 2, 8, "12345678", "--vers=1"},
      {bcCode39Extended, "Ab!z~\x7f@", false, 2, 9, "Ab!z~\x7f@", ""},
      {bcCode128B, "Hello, World!", false, 2, 60, "Hello, World!", ""},
      {bcCode128C, "123456", false, 2, 20, "123456", ""},
      {bcCode128C, "123", false, 2, 20, "0123", ""},
      {bcCode93, "CODE 93-$/+%.", false, 2, 25, "CODE 93-$/+%.", ""},
      {bcCode93Extended, "Code93!", false, 2, 25, "Code93!", ""},
      {bcCodeCodabar, "40156-$:/.+", false, 2, 18, "A40156-$:/.+B", ""},
      {bcCodeEAN8, "1234567", true, 2, 13, "1234567", ""},
      {bcCodeEAN8, "55123457", false, 2, 13, "5512345", ""},
      {bcCodeEAN13, "978020137962", true, 2, 13, "978020137962", ""},
      {bcCodeEAN13, "5901234123457", false, 2, 13, "5901234123457", ""},
      {bcCodeUPC_A, "036000291450", true, 2, 34, "03600029145", ""},
      // Seven digits of which the first six are drawn; the standard check digit of these
      // two happens to equal the one computed here.
      {bcCodeUPC_E0, "1234560", true, 2, 37, "0123456", ""},
      {bcCodeUPC_E0, "1234579", false, 2, 37, "0123457", ""},
      {bcCodeUPC_Supp2, "53", false, 2, 13, "53", ""},
      {bcCodeUPC_Supp5, "52495", false, 2, 13, "52495", ""},
      {bcCodeEAN128C, "0112345678901231", false, 2, 16, "[01]12345678901231", ""},
  };
  for (const ZintCase& c : cases) {
    SCOPED_TRACE(std::string(BarcodeTypeName(c.type)) + " " + c.text);
    TvtBarcode b = Make(c.type, c.text, c.checksum, c.ratio);
    const std::string codes = b.Encode();
    EXPECT_EQ(WithoutTrailingSpaces(Modules(codes, b.Widths())),
              ZintModules(c.zint_type, c.zint_data, c.zint_options));
  }
}

// Module strings worked out from the symbology tables, at Ratio 2 (narrow 1, wide 2).
struct HandCase {
  int type;
  std::string text;
  bool checksum;
  std::string modules;
  std::string text_after;  // Text after encoding
};

TEST(BarcodeEncoding, HandDerivedVectors) {
  const HandCase cases[] = {
      // MSI: start 110, each bit 0 as 100 and 1 as 110, the check digit, stop 1001. "12":
      // S1 = '1' = 49, N = '2' = 50, 2N = 100 -> digit sum 1, t = 50, a = 0 -> check 0.
      {bcCodeMSI, "12", false,
       "110"
       "100100100110"
       "100100110100"
       "100100100100"
       "1001",
       "12"},
      // "1234": S1 = 49 + 51 = 100, N = 50 * 10 + 52 = 552, 2N = 1104 -> 6, t = 106 -> 4.
      {bcCodeMSI, "1234", false,
       "110"
       "100100100110"
       "100100110100"
       "100100110110"
       "100110100100"
       "100110100100"
       "1001",
       "1234"},
      // PostNet "1": start bar and space 2, 00011 as short, short, short, full, full bars each
      // followed by a space of 2, stop bar. (Heights are checked elsewhere.)
      {bcCodePostNet, "1", false,
       "100"
       "100100100100100"
       "1",
       "1"},
      // Codabar "1": start A (0011010), '1' (0000110), stop B (0101001), each with a narrow gap.
      {bcCodeCodabar, "1", false,
       "1011001001"
       "0"
       "101011001"
       "0"
       "1001001011",
       "1"},
      // Code 128A with a control character: start A (103), TAB = 73, check (103 + 73) % 103 = 73.
      {bcCode128A, "\t", false,
       "11010000100"
       "10000110100"
       "10000110100"
       "1100011101011",
       "\t"},
      // Code 128 A with a lower-case letter: it is not in set A and becomes a space (value 0).
      {bcCode128A, "a", false,
       "11010000100"
       "11011001100"
       "11011001100"
       "1100011101011",
       "a"},
      // EAN 128 B: start B (104), FNC1 (102) at 1, 'A' (33) at 2: (104 + 102 + 66) % 103 = 66.
      {bcCodeEAN128B, "A", false,
       "11010010000"
       "11110101110"
       "10100011000"
       "10010000110"
       "1100011101011",
       "A"},
      // UPC-E0 "000000": check digit 0 selects BBBAAA; B '0' = 0100111, A '0' = 0001101; the
      // end guard 010101.
      {bcCodeUPC_E0, "000000", true,
       "101"
       "0100111"
       "0100111"
       "0100111"
       "0001101"
       "0001101"
       "0001101"
       "010101",
       "0000000"},
      // UPC-E1 mirrors the parity: AAABBB.
      {bcCodeUPC_E1, "000000", true,
       "101"
       "0001101"
       "0001101"
       "0001101"
       "0100111"
       "0100111"
       "0100111"
       "010101",
       "0000000"},
      // Supplement 2 with Checksum: the text gains (9 x 5 + 3 x 3) % 10 = 4, which is not drawn.
      {bcCodeUPC_Supp2, "53", true,
       "1011"
       "0110001"
       "01"
       "0100001",
       "534"},
  };
  for (const HandCase& c : cases) {
    SCOPED_TRACE(std::string(BarcodeTypeName(c.type)) + " " + c.text);
    TvtBarcode b = Make(c.type, c.text, c.checksum);
    const std::string codes = b.Encode();
    EXPECT_EQ(WithoutTrailingSpaces(Modules(codes, b.Widths())), c.modules);
    EXPECT_EQ(b.Text(), c.text_after);
  }
}

TEST(BarcodeEncoding, PostNetBarHeights) {
  TvtBarcode b = Make(bcCodePostNet, "19");
  // 1 = 00011, 9 = 10100: short bars are "A" codes.
  EXPECT_EQ(b.Encode(),
            "51"
            "A1A1A15151"
            "51A151A1A1"
            "5");
}

TEST(BarcodeEncoding, TextChangesAndLengths) {
  struct Case {
    int type;
    std::string text;
    bool checksum;
    int method;
    std::string text_after;
  };
  const Case cases[] = {
      {bcCodeEAN13, "123456789012", true, csmModulo10, "1234567890128"},
      {bcCodeEAN13, "123456789012", false, csmModulo10, "0123456789012"},
      {bcCodeEAN13, "12345678901234", false, csmModulo10, "1234567890123"},
      {bcCodeEAN8, "1234567", true, csmModulo10, "1234567"},  // EAN-8 keeps its text
      {bcCodeUPC_A, "1", false, csmModulo10, "000000000001"},
      {bcCodeUPC_A, "03600029145x", false, csmModulo10, ""},  // not reached: numeric
      {bcCodeUPC_Supp5, "52495", true, csmModulo10, "524951"},
      {bcCodeEAN128C, "12", true, csmModulo10, "123"},
      {bcCodeEAN128A, "AB", true, csmNone, "AB"},
      {bcCode128C, "  12 ", false, csmModulo10, "12"},  // numeric texts are trimmed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(BarcodeTypeName(c.type)) + " " + c.text);
    TvtBarcode b = Make(c.type, c.text, c.checksum);
    b.CheckSumMethod = c.method;
    if (c.text_after.empty()) {
      EXPECT_THROW(b.Encode(), BarcodeError);
      continue;
    }
    b.Encode();
    EXPECT_EQ(b.Text(), c.text_after);
  }
}

TEST(BarcodeEncoding, Code128CPairsAndInterleavedOddDigit) {
  TvtBarcode c = Make(bcCode128C, "123");
  TvtBarcode c0 = Make(bcCode128C, "0123");
  EXPECT_EQ(c.Encode(), c0.Encode());
  TvtBarcode i = Make(bcCode_2_5_interleaved, "12345");
  TvtBarcode i4 = Make(bcCode_2_5_interleaved, "1234");
  EXPECT_EQ(i.Encode(), i4.Encode());
}

TEST(BarcodeEncoding, ErrorsAsUsersSeeThem) {
  struct Case {
    int type;
    std::string text;
    bool checksum;
    int method;
    std::string message;
  };
  const Case cases[] = {
      {bcCodeEAN13, "12a", false, csmModulo10, "Barcode must be numeric"},
      {bcCodeMSI, "1.5", false, csmModulo10, "Barcode must be numeric"},
      {bcCodeEAN8, "1234567", true, csmNone, "Invalid Text len (EAN8)"},
      {bcCodeEAN13, "123456789012", true, csmNone, "Invalid Text len (EAN13)"},
      {bcCode93, "abc", false, csmModulo10, "TvtBarcode:Code93 bad Data <abc>"},
      {bcCode93, "A\xb0", false, csmModulo10, "TvtBarcode:Code93 bad Data <A\xb0>"},
      {26, "1", false, csmModulo10, "TvtBarcode: wrong BarcodeType"},
      {-1, "1", false, csmModulo10, "TvtBarcode: wrong BarcodeType"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TvtBarcode b = Make(c.type, c.text, c.checksum);
    b.CheckSumMethod = c.method;
    try {
      b.Encode();
      ADD_FAILURE() << "no error";
    } catch (const BarcodeError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
  EXPECT_THROW(TvtBarcode::ElementWidth('4', {1, 2, 3, 4}), BarcodeError);
}

TEST(BarcodeEncoding, EmptyAndLongTextsEncode) {
  for (int type = 0; type < kBarcodeTypeCount; ++type) {
    SCOPED_TRACE(BarcodeTypeName(type));
    TvtBarcode empty = Make(type, "", true);
    EXPECT_NO_THROW(empty.Width());
    TvtBarcode long_text = Make(type, std::string(5000, '7'), true);
    EXPECT_GT(long_text.Width(), 0);
  }
}

TEST(BarcodeWidths, RatioClampAndModul) {
  struct Case {
    int type;
    double ratio;
    double clamped;
  };
  const Case cases[] = {
      {bcCode39, 5, 3},          {bcCode39, 1, 2},          {bcCode_2_5_matrix, 2, 2.25},
      {bcCode_2_5_matrix, 4, 3}, {bcCode128B, 5, 5},        {bcCode93, 1, 1},
      {bcCodeMSI, 0.5, 0.5},     {bcCodePostNet, 7, 7},     {bcCodeEAN128C, 9, 9},
      {bcCodeEAN13, 2.5, 2.5},   {bcCodeCodabar, 3.5, 3.0},
  };
  for (const Case& c : cases) {
    TvtBarcode b = Make(c.type, "1", false, c.ratio);
    b.Widths();
    EXPECT_EQ(b.Ratio, c.clamped) << BarcodeTypeName(c.type);
  }
  TvtBarcode b = Make(bcCode39, "1", false, 2.5);
  for (int32_t ignored : {0, 50, -3}) {
    b.SetModul(ignored);
    EXPECT_EQ(b.Modul(), 1);
  }
  b.SetModul(3);
  // w1 = round(3 x 2.5) = 8 (halves to even: 7.5 -> 8), w2 = 12, w3 = 16.
  EXPECT_EQ(b.Widths(), (std::array<uint8_t, 4>{3, 8, 12, 16}));
  // Widths are bytes: 49 x 9 = 441 keeps its low byte.
  TvtBarcode wide = Make(bcCode128B, "1", false, 9);
  wide.SetModul(49);
  EXPECT_EQ(wide.Widths()[1], 441 % 256);
}

TEST(BarcodeWidths, SetWidthRescalesModul) {
  TvtBarcode b = Make(bcCode39, "ABC");
  const int32_t one = b.Width();
  b.SetWidth(one * 3 + 1);
  EXPECT_EQ(b.Modul(), 3);
  EXPECT_EQ(b.Width(), one * 3);
}

TEST(BarcodeEncoding, Modulo10CheckDigit) {
  EXPECT_EQ(Modulo10CheckDigit("123456789012"), '8');
  EXPECT_EQ(Modulo10CheckDigit("03600029145"), '2');
  EXPECT_EQ(Modulo10CheckDigit(""), '0');
  EXPECT_EQ(Modulo10CheckDigit("1a2"), Modulo10CheckDigit("12"));
}

TEST(BarcodeEncoding, TypeNames) {
  EXPECT_EQ(BarcodeTypeName(12), "Codebar");
  EXPECT_EQ(BarcodeTypeName(18), "UPC Supp2");
  EXPECT_EQ(BarcodeTypeName(23), "QR Code");
  EXPECT_EQ(BarcodeTypeName(26), "");
}

}  // namespace
}  // namespace zr
