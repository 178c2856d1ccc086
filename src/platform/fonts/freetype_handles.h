#pragma once
// Owning handles for FreeType objects. A library is shared (std::shared_ptr) by the resolver
// and every font made from it, so that faces never outlive the library they came from.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

namespace zr {

class FreeTypeLibrary {
 public:
  // Raises ZorelError when FreeType cannot start.
  FreeTypeLibrary();
  ~FreeTypeLibrary();
  FreeTypeLibrary(const FreeTypeLibrary&) = delete;
  FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

  FT_Library get() const { return library_; }

 private:
  FT_Library library_ = nullptr;
};

struct FtFaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using FtFaceHandle = std::unique_ptr<FT_FaceRec_, FtFaceDeleter>;

// Opens face `index` of the font file at `path`; raises IoError when it cannot be read.
FtFaceHandle open_face(const FreeTypeLibrary& library, const std::string& path, int index);

}  // namespace zr
