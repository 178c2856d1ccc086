#include "platform/fonts/face_substitutes.h"

#include <array>

#include "platform/codepage.h"
#include "platform/fonts/font_selection.h"

namespace zr {
namespace {

struct Substitute {
  const char* face;  // lower-case ASCII or UTF-8 Korean
  std::array<const char*, 2> families;
};

// Korean faces ending in "체" are the fixed-pitch variants; Nanum Gothic Coding is the one
// fixed-pitch Nanum face.
constexpr Substitute kSubstitutes[] = {
    {"arial", {"Liberation Sans", "DejaVu Sans"}},
    {"helvetica", {"Liberation Sans", "DejaVu Sans"}},
    {"ms sans serif", {"Liberation Sans", "DejaVu Sans"}},
    {"microsoft sans serif", {"Liberation Sans", "DejaVu Sans"}},
    {"tahoma", {"Liberation Sans", "DejaVu Sans"}},
    {"verdana", {"DejaVu Sans", "Liberation Sans"}},
    {"times new roman", {"Liberation Serif", "DejaVu Serif"}},
    {"times", {"Liberation Serif", "DejaVu Serif"}},
    {"ms serif", {"Liberation Serif", "DejaVu Serif"}},
    {"courier new", {"Liberation Mono", "DejaVu Sans Mono"}},
    {"courier", {"Liberation Mono", "DejaVu Sans Mono"}},
    {"lucida console", {"Liberation Mono", "DejaVu Sans Mono"}},
    {"\xEA\xB5\xB4\xEB\xA6\xBC", {"NanumGothic", "NanumBarunGothic"}},              // 굴림
    {"gulim", {"NanumGothic", "NanumBarunGothic"}},                                 //
    {"\xEC\x83\x88\xEA\xB5\xB4\xEB\xA6\xBC", {"NanumGothic", "NanumBarunGothic"}},  // 새굴림
    {"\xEB\x8F\x8B\xEC\x9B\x80", {"NanumGothic", "NanumBarunGothic"}},              // 돋움
    {"dotum", {"NanumGothic", "NanumBarunGothic"}},                                 //
    {"\xEB\xA7\x91\xEC\x9D\x80 \xEA\xB3\xA0\xEB\x94\x95",
     {"NanumGothic", "NanumBarunGothic"}},  // 맑은 고딕
    {"malgun gothic", {"NanumGothic", "NanumBarunGothic"}},
    {"\xEA\xB5\xB4\xEB\xA6\xBC\xEC\xB2\xB4", {"NanumGothicCoding", "NanumGothic"}},    // 굴림체
    {"gulimche", {"NanumGothicCoding", "NanumGothic"}},                                //
    {"\xEB\x8F\x8B\xEC\x9B\x80\xEC\xB2\xB4", {"NanumGothicCoding", "NanumGothic"}},    // 돋움체
    {"dotumche", {"NanumGothicCoding", "NanumGothic"}},                                //
    {"\xEB\xB0\x94\xED\x83\x95\xEC\xB2\xB4", {"NanumGothicCoding", "NanumMyeongjo"}},  // 바탕체
    {"batangche", {"NanumGothicCoding", "NanumMyeongjo"}},                             //
    {"\xEA\xB6\x81\xEC\x84\x9C\xEC\xB2\xB4", {"NanumGothicCoding", "NanumMyeongjo"}},  // 궁서체
    {"gungsuhche", {"NanumGothicCoding", "NanumMyeongjo"}},                            //
    {"\xEB\xB0\x94\xED\x83\x95", {"NanumMyeongjo", "NanumGothic"}},                    // 바탕
    {"batang", {"NanumMyeongjo", "NanumGothic"}},                                      //
    {"\xEA\xB6\x81\xEC\x84\x9C", {"NanumMyeongjo", "NanumGothic"}},                    // 궁서
    {"gungsuh", {"NanumMyeongjo", "NanumGothic"}},                                     //
    {"wingdings", {"Symbola", "DejaVu Sans"}},
    {"wingdings 2", {"Symbola", "DejaVu Sans"}},
    {"wingdings 3", {"Symbola", "DejaVu Sans"}},
    {"webdings", {"Symbola", "DejaVu Sans"}},
    {"symbol", {"Symbola", "DejaVu Sans"}},
};

std::string_view plain_face(std::string_view face) {
  while (!face.empty() && (face.front() == ' ' || face.front() == '@')) face.remove_prefix(1);
  while (!face.empty() && face.back() == ' ') face.remove_suffix(1);
  return face;
}

}  // namespace

std::vector<std::string> substitute_families(std::string_view face_utf8) {
  std::string_view face = plain_face(face_utf8);
  std::string key = lower_ascii(face);
  std::vector<std::string> families;
  for (const Substitute& substitute : kSubstitutes) {
    if (key != substitute.face) continue;
    for (const char* family : substitute.families) families.emplace_back(family);
    break;
  }
  if (!face.empty()) families.emplace_back(face);
  return families;
}

std::vector<std::string> default_families(uint8_t charset) {
  if (charset == kSymbolCharset) return {"Symbola", "DejaVu Sans"};
  if (charset == kAnsiCharset) return {"Liberation Sans", "DejaVu Sans"};
  return {kKoreanFallbackFamily, "Liberation Sans", "DejaVu Sans"};
}

}  // namespace zr
