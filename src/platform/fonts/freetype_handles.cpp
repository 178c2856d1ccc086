#include "platform/fonts/freetype_handles.h"

#include "platform/errors.h"

namespace zr {

FreeTypeLibrary::FreeTypeLibrary() {
  if (FT_Init_FreeType(&library_) != 0) throw ZorelError("FreeType cannot be started");
}

FreeTypeLibrary::~FreeTypeLibrary() {
  FT_Done_FreeType(library_);
}

FtFaceHandle open_face(const FreeTypeLibrary& library, const std::string& path, int index) {
  FT_Face face = nullptr;
  if (FT_New_Face(library.get(), path.c_str(), index, &face) != 0 || !face)
    throw IoError("cannot open font file " + path);
  return FtFaceHandle(face);
}

}  // namespace zr
