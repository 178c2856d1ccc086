#pragma once
// Finds installed fonts for the Windows face names reports use and makes sized fonts from
// them. Face names go through the substitution table (face_substitutes.h) and fontconfig; a
// face nothing answers to gets a default family for its character set, so resolution never
// fails while any font is installed. Results are cached: faces by name, style and character
// set, fonts by their whole FontSelection. Both caches start anew when full, so pages naming
// ever new faces (damaged files do) cannot make them grow without end.
//
// A resolver is an ordinary object, not a process global: create one and share it. Fonts it
// makes stay valid after it is gone. Not thread-safe (the engine is single-threaded).

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/codepage.h"
#include "platform/fonts/font.h"
#include "platform/fonts/font_selection.h"
#include "platform/fonts/resolved_face.h"

namespace zr {

class FontResolver {
 public:
  // `code_page` is the ANSI code page of the text the fonts will measure. Raises ZorelError
  // when fontconfig or FreeType cannot start.
  explicit FontResolver(int code_page = kDefaultAnsiCodePage);
  ~FontResolver();
  FontResolver(const FontResolver&) = delete;
  FontResolver& operator=(const FontResolver&) = delete;

  int code_page() const;

  // The installed file for a face name (ANSI bytes) in a style. Raises IoError only when no
  // font at all can be found. The reference stays valid until the next call of resolve_face
  // or font.
  const ResolvedFace& resolve_face(std::string_view face_name, bool bold, bool italic,
                                   uint8_t charset = kDefaultCharset);

  // The font for `spec`; the same spec returns the same object while it is cached. Raises
  // IoError when the chosen file cannot be opened.
  std::shared_ptr<const Font> font(const FontSelection& spec);

 private:
  std::shared_ptr<const Font> cached_font(const FontSelection& spec);
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zr
