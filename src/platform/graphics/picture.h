#pragma once
// One graphic of a picture view: a bitmap, JPEG, icon, metafile or GIF, kept as the bytes it
// was loaded from so that writing it back gives exactly those bytes. Loading reads only the
// header (for the size and to refuse what is not that kind); pixels are decoded on first
// use and kept. Metafiles keep their bytes only: the metafile player draws them.
//
// A value type: copies share the bytes and the decoded pixels, which never change after
// loading. Not thread-safe (the engine is single-threaded).

#include <filesystem>
#include <memory>
#include <string>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/decode_limits.h"
#include "platform/graphics/graphic_kind.h"

namespace zr {

class Picture {
 public:
  Picture() = default;  // empty: kind None

  // A picture of `kind` from that kind's file format. No bytes, or kind None, give an empty
  // picture. Raises FormatError when the header is not valid for the kind.
  static Picture from_bytes(GraphicKind kind, std::string bytes);
  // The kind taken from the bytes' signature; FormatError when none matches.
  static Picture from_detected_bytes(std::string bytes);
  // The kind taken from the file's extension. Raises FormatError for an extension that names
  // no graphic kind (before reading) or malformed content, IoError when it cannot be read.
  static Picture from_file(const std::filesystem::path& path);
  // Writes the original bytes; IoError when the file cannot be written.
  void save_to_file(const std::filesystem::path& path) const;

  void clear() { *this = Picture(); }
  bool empty() const { return kind_ == GraphicKind::None; }
  GraphicKind kind() const { return kind_; }
  // The bytes as loaded; empty for an empty picture.
  const std::string& bytes() const;
  // In pixels, from the header (0 for an empty picture).
  int width() const { return size_.width; }
  int height() const { return size_.height; }

  // The decoded pixels, kept for later calls; valid while this picture is neither changed nor
  // destroyed. Raises FormatError when the data past the header is malformed or the size
  // exceeds `limits`, and ZorelError (Argument) for a metafile or an empty picture.
  const Bitmap& bitmap(const DecodeLimits& limits = {}) const;

  friend bool operator==(const Picture& a, const Picture& b) {
    return a.kind_ == b.kind_ && a.bytes() == b.bytes();
  }

 private:
  GraphicKind kind_ = GraphicKind::None;
  std::shared_ptr<const std::string> bytes_;
  ImageSize size_;
  mutable std::shared_ptr<const Bitmap> bitmap_;
};

}  // namespace zr
