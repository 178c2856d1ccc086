#pragma once
// TOxvtRTFExport: the prepared report as one RTF document, each page a group ending with a
// page break. Texts become frame paragraphs anchored to the page, their frames paragraph
// borders; frames without text become drawing objects; other objects embedded pictures
// (JPEG, or BMP inside a Windows metafile). The font and colour tables are only known at
// the end, so the body is collected first (RtfBody) and the header written before it.

#include <memory>
#include <string>
#include <vector>

#include "output/document/document_export.h"
#include "output/rtf/rtf_body.h"

namespace zr {

class TOxvtRTFExport : public TOxvtExportFilter {
 public:
  // Registers as "RTF Document (*.rtf)".
  TOxvtRTFExport();

  bool GraphicDataInBinary = false;
  std::string Title, Subject;
  // What the body keeps in memory before it spills to a temporary file.
  size_t BodyMemoryLimit = kRtfBodyMemoryLimit;

  // GIF cannot be embedded in RTF: that setting is ignored.
  void SetExportImageFormat(TOxvtImageFormat format) override;

  int ShowModal() override;
  void OnBeginDoc() override;
  void OnBeginPage() override;
  void OnEndPage() override;
  void OnEndDoc() override;

  // Whether the last export's body outgrew memory and went through its temporary file.
  bool BodySpilled() const { return spilled_; }

 private:
  std::string Header() const;
  std::string ObjectText(const TOxvtDataRec& rec);
  std::string PictureText(const TOxvtDataRec& rec) const;
  std::string FrameText(const TOxvtDataRec& rec);
  std::string DrawingText(const TOxvtDataRec& rec) const;
  std::string TextText(const TOxvtDataRec& rec);
  int FontNumber(const std::string& name);
  int ColorNumber(int32_t color);

  std::unique_ptr<RtfBody> body_;
  std::vector<std::string> fonts_;
  std::vector<std::string> colors_;  // "RRGGBB"
  int page_total_ = 0;
  bool spilled_ = false;
};

// A memo's text for RTF: a trailing line break dropped, \ { } escaped, each line feed a
// paragraph break inside the frame.
std::string RtfText(const std::string& text);

// Design pixels (taken as display pixels) to twips, rounded.
int64_t Twips(double pixels);

}  // namespace zr
