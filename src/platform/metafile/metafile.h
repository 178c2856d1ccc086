#pragma once
// A recorded drawing: the list of canvas calls a MetafileRecorder received, with the frame
// they were drawn in and the device resolution. It plays back onto any canvas, scaled into a
// rectangle, and is written and read as an enhanced (EMF) or placeable Windows (WMF) metafile
// (emf_writer.h, wmf_writer.h, metafile_reader.h).
//
// A value type: copies share the bitmaps of picture records, which never change.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/canvas/canvas.h"
#include "platform/metafile/metafile_record.h"

namespace zr {

// A text-output record as the text search sees it.
struct MetafileText {
  size_t record_index = 0;  // position in Metafile::records()
  std::string text;         // ANSI bytes
  Point origin;
  Rect bounds;  // in the metafile's pixels
  friend bool operator==(const MetafileText&, const MetafileText&) = default;
};

class Metafile {
 public:
  Metafile() = default;
  // `frame` is the area the drawing was made for, in device pixels at `resolution`.
  Metafile(const Rect& frame, Resolution resolution) : frame_(frame), resolution_(resolution) {}

  const Rect& frame() const { return frame_; }
  Size size() const { return {frame_.width(), frame_.height()}; }
  Resolution resolution() const { return resolution_; }
  const std::vector<mf::Record>& records() const { return records_; }
  bool empty() const { return records_.empty(); }

  void add(mf::Record record) { records_.push_back(std::move(record)); }
  // For readers that learn the coordinate space after the first records.
  void set_frame(const Rect& frame, Resolution resolution) {
    frame_ = frame;
    resolution_ = resolution;
  }

  // Draws the records into `target` on `canvas`, coordinates, pens, fonts and advances scaled
  // from the frame. The canvas state is saved before and restored after, and starts from the
  // defaults a fresh canvas has (scaled), so the result does not depend on what the canvas had
  // selected. Unbalanced save/restore records cannot reach the caller's saved states. An
  // empty frame or target draws nothing.
  void play(Canvas& canvas, const Rect& target) const;
  // Plays at the frame's own size and place.
  void play(Canvas& canvas) const { play(canvas, frame_); }

  // Every text-output record in order, with its text and bounds.
  std::vector<MetafileText> texts() const;

  friend bool operator==(const Metafile&, const Metafile&) = default;

 private:
  Rect frame_;
  Resolution resolution_;
  std::vector<mf::Record> records_;
};

}  // namespace zr
