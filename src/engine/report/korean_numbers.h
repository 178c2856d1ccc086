#pragma once
// Sino-Korean spellings of whole numbers, used by the number display formats: Hanja
// (壹萬貳阡參百四拾五) and Hangul (일만이천삼백사십오). Results are code page 949 bytes, two
// per character.
//
// The number is first rounded to an integer (halves away from zero). Zero spells as the empty
// text: no digit of it is written. The units reach the thousands of 兆 / 조, so numbers up to
// 10^16 - 1 are spelled; from 10^16 on, and for negative numbers, ConversionError is raised
// (the display formats then fall back to the plain text of the value).

#include <string>

namespace zr {

std::string NumberToHanja(double number);
std::string NumberToHangul(double number);

}  // namespace zr
