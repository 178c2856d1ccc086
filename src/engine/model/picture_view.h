#pragma once
// TvtPictureView: a picture on a report page. Its graphic comes from the form, from a data
// field (BlobType chooses the decoder), from an address fetched while the view is written to
// a prepared page, or from a file named by a script.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "engine/model/view.h"
#include "platform/graphics/picture.h"

namespace zr {

// Flags bits of a picture.
inline constexpr uint16_t kPictureCenter = 2;
inline constexpr uint16_t kPictureKeepAspect = 4;

// BlobType values. 2 and 3 are the reverse of the graphic kind bytes of the record: a
// BlobType of 2 loads data as a metafile, 3 as an icon.
inline constexpr uint8_t btBMP = 0;
inline constexpr uint8_t btJPG = 1;
inline constexpr uint8_t btICO = 2;
inline constexpr uint8_t btWMF = 3;
inline constexpr uint8_t btGif = 4;

class TvtPictureView : public TvtView {
 public:
  // Also registers the script constants btBMP..btWMF in the engine's constant list.
  TvtPictureView();

  std::string ClassName() const override { return "TvtPictureView"; }

  // Besides the view names: CENTER, KEEPASPECT, BLOBTYPE, URL.
  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  // LOADFROMFILE: the argument is evaluated; an existing file is loaded (kind by extension),
  // anything else clears the picture.
  Value CallMethod(const std::string& name, const Value& p1, const Value& p2,
                   const Value& p3) override;
  void RegisterProperties() override;

  // A null field clears the picture; otherwise the bytes are decoded as BlobType says
  // (BlobType 0 also takes any graphic the bytes identify). Undecodable data clears it.
  void LoadFromBlobField(const std::optional<std::string>& content) override;
  void Draw(Canvas& canvas) override;
  // The common record, then the picture record (graphic kind, BlobType, Url, end position,
  // graphic bytes). A graphic that does not decode leaves the picture empty; a damaged
  // record raises FormatError.
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  // The enter-rect step: when the trimmed Url is not empty, expands its brackets, fetches it
  // with the engine's HTTP client and decodes it by BlobType. No client, a failed fetch or
  // undecodable data leave the picture empty; nothing is raised or shown. The answer for the
  // last address is kept, so a band printed for every record fetches an address that stays
  // the same (or fails, perhaps after a time-out) once, not once a record.
  void LoadFromUrl();
  // Loads a file, the kind following its extension; an empty name, a missing file or a file
  // that does not decode clears the picture.
  void LoadFromFile(const std::string& file_name);

  // Where the graphic goes inside the scaled DrawRect (Stretched, KeepAspect, Center).
  Rect PictureTarget() const;

  // --- Stored fields ---
  zr::Picture Picture;  // empty when there is none
  uint8_t BlobType = btBMP;
  std::string Url;

 private:
  std::optional<std::pair<std::string, std::string>> fetched_;  // address, body
};

}  // namespace zr
