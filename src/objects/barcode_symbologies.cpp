#include "objects/barcode_symbologies.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "objects/barcode.h"

namespace zr::barcode {
namespace {

// --- 2 of 5 ---

// Narrow (0) and wide (1) elements of each digit.
constexpr std::array<std::string_view, 10> k2of5 = {"00110", "10001", "01001", "11000", "00101",
                                                    "10100", "01100", "00011", "10010", "01010"};

std::string interleaved_2of5(const std::string& text) {
  std::string out = "5050";
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    std::string_view bars = k2of5[text[i] - '0'], spaces = k2of5[text[i + 1] - '0'];
    for (int e = 0; e < 5; ++e) {
      out += bars[e] == '1' ? '6' : '5';
      out += spaces[e] == '1' ? '1' : '0';
    }
  }
  return out + "605";
}

std::string industrial_2of5(const std::string& text) {
  std::string out = "606050";
  for (char c : text)
    for (char e : k2of5[c - '0']) out += e == '1' ? "60" : "50";
  return out + "605060";
}

std::string matrix_2of5(const std::string& text) {
  std::string out = "705050";
  for (char c : text) {
    std::string_view pattern = k2of5[c - '0'];
    for (int e = 0; e < 5; ++e) {
      const bool bar = e % 2 == 0;
      out += pattern[e] == '1' ? (bar ? '6' : '1') : (bar ? '5' : '0');
    }
    out += '0';
  }
  return out + "70505";
}

// --- Code 39 ---

struct Code39Char {
  char c;
  std::string_view wide;  // nine elements from a bar, 1 = wide
};

constexpr std::array<Code39Char, 44> kCode39 = {{
    {'0', "000110100"}, {'1', "100100001"}, {'2', "001100001"}, {'3', "101100000"},
    {'4', "000110001"}, {'5', "100110000"}, {'6', "001110000"}, {'7', "000100101"},
    {'8', "100100100"}, {'9', "001100100"}, {'A', "100001001"}, {'B', "001001001"},
    {'C', "101001000"}, {'D', "000011001"}, {'E', "100011000"}, {'F', "001011000"},
    {'G', "000001101"}, {'H', "100001100"}, {'I', "001001100"}, {'J', "000011100"},
    {'K', "100000011"}, {'L', "001000011"}, {'M', "101000010"}, {'N', "000010011"},
    {'O', "100010010"}, {'P', "001010010"}, {'Q', "000000111"}, {'R', "100000110"},
    {'S', "001000110"}, {'T', "000010110"}, {'U', "110000001"}, {'V', "011000001"},
    {'W', "111000000"}, {'X', "010010001"}, {'Y', "110010000"}, {'Z', "011010000"},
    {'-', "010000101"}, {'.', "110000100"}, {' ', "011000100"}, {'$', "010101000"},
    {'/', "010100010"}, {'+', "010001010"}, {'%', "000101010"}, {'*', "010010100"},
}};
constexpr int kCode39Star = 43;

int code39_index(char c) {
  for (int i = 0; i < kCode39Star; ++i)
    if (kCode39[i].c == c) return i;
  return -1;
}

void append_code39(std::string& out, int index) {
  std::string_view wide = kCode39[index].wide;
  for (int e = 0; e < 9; ++e) {
    const bool bar = e % 2 == 0;
    out += wide[e] == '1' ? (bar ? '6' : '1') : (bar ? '5' : '0');
  }
  out += '0';
}

std::string code39(const std::string& text, bool checksum) {
  std::string out;
  append_code39(out, kCode39Star);
  int sum = 0;
  for (char c : text) {
    const int index = code39_index(c);
    if (index < 0) continue;
    append_code39(out, index);
    sum += index;
  }
  if (checksum) append_code39(out, sum % 43);
  append_code39(out, kCode39Star);
  return out;
}

// The full-ASCII pairs for the codes 0-127 (Code 39 and Code 93 share the letters; the shift
// characters differ and are mapped by each).
constexpr std::array<std::string_view, 128> kFullAscii = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-",  ".",  "/O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};

std::string code39_extended(const std::string& text, bool checksum) {
  std::string plain;
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 128) plain += kFullAscii[code];
  }
  return code39(plain, checksum);
}

// --- Code 128 ---

// Module widths of the values 0-105 (bar first) and the stop.
constexpr std::array<std::string_view, 107> kCode128 = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312",  "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122",  "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122",  "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123",  "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331",  "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311",  "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411",  "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412",  "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",  "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211",  "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113",  "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};
constexpr int kCode128Fnc1 = 102;
constexpr int kCode128StartA = 103;
constexpr int kCode128Stop = 106;

// Module widths 1-4 become bars and spaces in turn, starting with a bar.
void append_modules(std::string& out, std::string_view modules) {
  bool bar = true;
  for (char m : modules) {
    out += static_cast<char>((bar ? '5' : '0') + (m - '1'));
    bar = !bar;
  }
}

int code128_value(char c, char set) {
  const auto code = static_cast<unsigned char>(c);
  if (set == 'A') {
    if (code >= 32 && code <= 95) return code - 32;
    if (code < 32) return code + 64;
    return 0;
  }
  if (code >= 32 && code <= 127) return code - 32;
  return 0;
}

std::string code128(std::string& text, char set, bool ean, bool checksum, int method) {
  if (ean && checksum && method == csmModulo10) text += Modulo10CheckDigit(text);
  std::vector<int> values{kCode128StartA + (set - 'A')};
  if (ean) values.push_back(kCode128Fnc1);
  if (set == 'C') {
    std::string digits = text.size() % 2 ? "0" + text : text;
    for (size_t i = 0; i < digits.size(); i += 2) {
      const char a = digits[i], b = digits[i + 1];
      const bool known = a >= '0' && a <= '9' && b >= '0' && b <= '9';
      values.push_back(known ? (a - '0') * 10 + (b - '0') : 0);
    }
  } else {
    for (char c : text) values.push_back(code128_value(c, set));
  }
  int64_t sum = values[0];
  for (size_t i = 1; i < values.size(); ++i) sum += static_cast<int64_t>(values[i]) * i;
  values.push_back(static_cast<int>(sum % 103));
  values.push_back(kCode128Stop);
  std::string out;
  for (int v : values) append_modules(out, kCode128[v]);
  return out;
}

// --- Code 93 ---

constexpr std::string_view kCode93Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
// Values 0-46 (43-46 the shifts "($)", "(%)", "(/)", "(+)"), bar first.
constexpr std::array<std::string_view, 47> kCode93 = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114",
    "131211", "141111", "211113", "211212", "211311", "221112", "221211", "231111",
    "112113", "112212", "112311", "122112", "132111", "111123", "111222", "111321",
    "121122", "131121", "212112", "212211", "211122", "211221", "221121", "222111",
    "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211",
};
constexpr std::string_view kCode93Start = "111141";
constexpr std::string_view kCode93Stop = "1111411";

int code93_shift(char shift) {
  switch (shift) {
    case '$':
      return 43;
    case '%':
      return 44;
    case '/':
      return 45;
    default:
      return 46;  // '+'
  }
}

std::string code93_from_values(const std::vector<int>& data) {
  std::vector<int> values = data;
  for (int max_weight : {20, 15}) {
    int64_t sum = 0;
    int weight = 1;
    for (size_t i = values.size(); i-- > 0;) {
      sum += static_cast<int64_t>(values[i]) * weight;
      weight = weight == max_weight ? 1 : weight + 1;
    }
    values.push_back(static_cast<int>(sum % 47));
  }
  std::string out;
  append_modules(out, kCode93Start);
  for (int v : values) append_modules(out, kCode93[v]);
  append_modules(out, kCode93Stop);
  return out;
}

std::string code93(const std::string& text) {
  std::vector<int> values;
  for (char c : text) {
    const size_t index = c == 0 ? std::string_view::npos : kCode93Chars.find(c);
    if (index == std::string_view::npos)
      throw BarcodeError(TvtBarcode::kClassName + ":Code93 bad Data <" + text + ">");
    values.push_back(static_cast<int>(index));
  }
  return code93_from_values(values);
}

std::string code93_extended(const std::string& text) {
  std::vector<int> values;
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 128) continue;
    std::string_view pair = kFullAscii[code];
    if (pair.size() == 1) {
      values.push_back(static_cast<int>(kCode93Chars.find(pair[0])));
    } else {
      values.push_back(code93_shift(pair[0]));
      values.push_back(static_cast<int>(kCode93Chars.find(pair[1])));
    }
  }
  return code93_from_values(values);
}

// --- MSI, PostNet, Codabar ---

// 32-bit arithmetic that wraps as the check computation always has, instead of overflowing.
int32_t wrap32(int64_t v) {
  return static_cast<int32_t>(static_cast<uint32_t>(v));
}

char msi_check_digit(const std::string& text) {
  int64_t odd_sum = 0;
  int32_t even_number = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const int code = static_cast<unsigned char>(text[i]);
    if (i % 2 == 0)
      odd_sum += code;
    else
      even_number = wrap32(int64_t{even_number} * 10 + code);
  }
  int64_t doubled = std::llabs(int64_t{wrap32(int64_t{even_number} * 2)});
  int64_t t = odd_sum;
  for (; doubled > 0; doubled /= 10) t += doubled % 10;
  const int a = static_cast<int>(t % 10);
  return static_cast<char>('0' + (a == 0 ? 0 : 10 - a));
}

std::string msi(const std::string& text) {
  std::string out = "60";
  for (char c : text + msi_check_digit(text)) {
    const int digit = c - '0';
    for (int bit = 3; bit >= 0; --bit) out += (digit >> bit) & 1 ? "60" : "51";
  }
  return out + "515";
}

constexpr std::array<std::string_view, 10> kPostNet = {"11000", "00011", "00101", "00110", "01001",
                                                       "01010", "01100", "10001", "10010", "10100"};

std::string postnet(const std::string& text) {
  std::string out = "51";
  for (char c : text)
    for (char e : kPostNet[c - '0']) out += e == '1' ? "51" : "A1";
  return out + "5";
}

constexpr std::string_view kCodabarChars = "0123456789-$:/.+ABCD";
// Seven elements from a bar, 1 = wide.
constexpr std::array<std::string_view, 20> kCodabar = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001",
    "0100100", "0110000", "1001000", "0001100", "0011000", "1000101", "1010001",
    "1010100", "0010101", "0011010", "0101001", "0001011", "0001110",
};

void append_codabar(std::string& out, size_t index) {
  std::string_view wide = kCodabar[index];
  for (int e = 0; e < 7; ++e) {
    const bool bar = e % 2 == 0;
    out += wide[e] == '1' ? (bar ? '6' : '1') : (bar ? '5' : '0');
  }
  out += '0';
}

std::string codabar(const std::string& text) {
  std::string out;
  append_codabar(out, kCodabarChars.find('A'));
  for (char c : text) {
    const size_t index = c == 0 ? std::string_view::npos : kCodabarChars.find(c);
    if (index != std::string_view::npos) append_codabar(out, index);
  }
  append_codabar(out, kCodabarChars.find('B'));
  return out;
}

// --- EAN and UPC ---

// Set A (odd parity) module widths from a space; set C is the same widths from a bar, set B
// (even parity) the reverse of set C.
constexpr std::array<std::string_view, 10> kEanA = {"3211", "2221", "2122", "1411", "1132",
                                                    "1231", "1114", "1312", "1213", "3112"};

void append_ean_digit(std::string& out, char digit, char set) {
  std::string widths(kEanA[digit - '0']);
  if (set == 'B') widths = std::string(widths.rbegin(), widths.rend());
  bool bar = set == 'C';
  for (char w : widths) {
    out += static_cast<char>((bar ? '5' : '0') + (w - '1'));
    bar = !bar;
  }
}

constexpr std::string_view kGuard = "505";
constexpr std::string_view kCentre = "05050";

// Parity of digits 2-7 of EAN-13 by the first digit.
constexpr std::array<std::string_view, 10> kEan13Parity = {"AAAAAA", "AABABB", "AABBAB", "AABBBA",
                                                           "ABAABB", "ABBAAB", "ABBBAA", "ABABAB",
                                                           "ABABBA", "ABBABA"};
// Parity of the six UPC-E digits by the check digit (number system 0).
constexpr std::array<std::string_view, 10> kUpcEParity = {"BBBAAA", "BBABAA", "BBAABA", "BBAAAB",
                                                          "BABBAA", "BAABBA", "BAAABB", "BABABA",
                                                          "BABAAB", "BAABAB"};
// Parity of the five digits of the five-digit supplement by its check value.
constexpr std::array<std::string_view, 10> kSupp5Parity = {
    "BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA", "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};
constexpr std::array<std::string_view, 4> kSupp2Parity = {"AA", "AB", "BA", "BB"};

std::string fit(const std::string& text, size_t n) {
  if (text.size() > n) return text.substr(0, n);
  return std::string(n - text.size(), '0') + text;
}

std::string ean8(std::string& text, bool checksum, int method) {
  std::string digits = fit(text, checksum ? 7 : 8);
  if (checksum && method == csmModulo10) digits += Modulo10CheckDigit(digits);
  if (digits.size() != 8) throw BarcodeError("Invalid Text len (EAN8)");
  std::string out(kGuard);
  for (int i = 0; i < 4; ++i) append_ean_digit(out, digits[i], 'A');
  out += kCentre;
  for (int i = 4; i < 8; ++i) append_ean_digit(out, digits[i], 'C');
  return out + std::string(kGuard);
}

std::string ean13(std::string& text, bool checksum, int method) {
  std::string digits = fit(text, checksum ? 12 : 13);
  if (checksum && method == csmModulo10) digits += Modulo10CheckDigit(digits);
  if (digits.size() != 13) throw BarcodeError("Invalid Text len (EAN13)");
  text = digits;
  std::string out(kGuard);
  std::string_view parity = kEan13Parity[digits[0] - '0'];
  for (int i = 1; i < 7; ++i) append_ean_digit(out, digits[i], parity[i - 1]);
  out += kCentre;
  for (int i = 7; i < 13; ++i) append_ean_digit(out, digits[i], 'C');
  return out + std::string(kGuard);
}

std::string upc_a(std::string& text, bool checksum) {
  text = fit(text, 12);
  if (checksum) text[11] = Modulo10CheckDigit(text.substr(0, 11));
  std::string out(kGuard);
  for (int i = 0; i < 6; ++i) append_ean_digit(out, text[i], 'A');
  out += kCentre;
  for (int i = 6; i < 12; ++i) append_ean_digit(out, text[i], 'C');
  return out + std::string(kGuard);
}

std::string upc_e(std::string& text, bool checksum, bool system1) {
  const std::string digits = fit(text, 7).substr(0, 6);
  const char check = Modulo10CheckDigit(digits);
  if (checksum) text = digits + check;
  std::string out(kGuard);
  std::string_view parity = kUpcEParity[check - '0'];
  for (int i = 0; i < 6; ++i) {
    const char set = parity[i] == 'A' ? (system1 ? 'B' : 'A') : (system1 ? 'A' : 'B');
    append_ean_digit(out, digits[i], set);
  }
  // The end guard is space, bar, space, bar, space, bar: without its last bar no reader
  // finds the end of the symbol.
  return out + "050505";
}

constexpr std::string_view kSuppStart = "506";
constexpr std::string_view kSuppSeparator = "05";

std::string supplement5(std::string& text, bool checksum) {
  const std::string digits = fit(text, 5);
  int sum = 0;
  for (int i = 0; i < 5; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 3 : 9);
  const int check = sum % 10;
  if (checksum) text = digits + static_cast<char>('0' + check);
  std::string out(kSuppStart);
  for (int i = 0; i < 5; ++i) {
    if (i > 0) out += kSuppSeparator;
    append_ean_digit(out, digits[i], kSupp5Parity[check][i]);
  }
  return out;
}

std::string supplement2(std::string& text, bool checksum) {
  const std::string digits = fit(text, 2);
  const int a = digits[0] - '0', b = digits[1] - '0';
  if (checksum) text = digits + static_cast<char>('0' + (9 * a + 3 * b) % 10);
  std::string_view parity = kSupp2Parity[(a * 10 + b) % 4];
  std::string out(kSuppStart);
  append_ean_digit(out, digits[0], parity[0]);
  out += kSuppSeparator;
  append_ean_digit(out, digits[1], parity[1]);
  return out;
}

}  // namespace

std::string EncodeSymbology(const EncodeInput& in) {
  std::string& text = in.text;
  switch (in.type) {
    case bcCode_2_5_interleaved:
      return interleaved_2of5(text);
    case bcCode_2_5_industrial:
      return industrial_2of5(text);
    case bcCode_2_5_matrix:
      return matrix_2of5(text);
    case bcCode39:
      return code39(text, in.checksum);
    case bcCode39Extended:
      return code39_extended(text, in.checksum);
    case bcCode128A:
      return code128(text, 'A', false, false, csmNone);
    case bcCode128B:
      return code128(text, 'B', false, false, csmNone);
    case bcCode128C:
      return code128(text, 'C', false, false, csmNone);
    case bcCode93:
      return code93(text);
    case bcCode93Extended:
      return code93_extended(text);
    case bcCodeMSI:
      return msi(text);
    case bcCodePostNet:
      return postnet(text);
    case bcCodeCodabar:
      return codabar(text);
    case bcCodeEAN8:
      return ean8(text, in.checksum, in.checksum_method);
    case bcCodeEAN13:
      return ean13(text, in.checksum, in.checksum_method);
    case bcCodeUPC_A:
      return upc_a(text, in.checksum);
    case bcCodeUPC_E0:
      return upc_e(text, in.checksum, false);
    case bcCodeUPC_E1:
      return upc_e(text, in.checksum, true);
    case bcCodeUPC_Supp2:
      return supplement2(text, in.checksum);
    case bcCodeUPC_Supp5:
      return supplement5(text, in.checksum);
    case bcCodeEAN128A:
      return code128(text, 'A', true, in.checksum, in.checksum_method);
    case bcCodeEAN128B:
      return code128(text, 'B', true, in.checksum, in.checksum_method);
    case bcCodeEAN128C:
      return code128(text, 'C', true, in.checksum, in.checksum_method);
    default:
      throw BarcodeError(TvtBarcode::kClassName + ": wrong BarcodeType");
  }
}

}  // namespace zr::barcode
