#include "platform/errors.h"
#include "platform/graphics/metafile_header.h"
#include "platform/graphics/picture.h"
#include "platform/metafile/metafile_reader.h"

namespace zr {

Metafile read_metafile(std::string_view bytes, const std::string& name) {
  return is_enhanced_metafile(bytes) ? read_emf(bytes, name) : read_wmf(bytes, name);
}

void play_picture(const Picture& picture, Canvas& canvas, const Rect& target) {
  if (picture.kind() != GraphicKind::Metafile)
    throw ZorelError("Only a metafile picture can be played", ErrorKind::Argument);
  read_metafile(picture.bytes(), "picture").play(canvas, target);
}

}  // namespace zr
