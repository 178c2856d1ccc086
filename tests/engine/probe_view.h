#pragma once
// An add-in view for tests of the page containers: its record is the common view record and
// nothing else, and it notes what the containers call on it.

#include <memory>
#include <string>
#include <vector>

#include "engine/model/view.h"
#include "engine/report/tvt_globals.h"

namespace testing_support {

// What the containers called on probes since the last Register.
struct ProbeLog {
  int after_loads = 0;
  std::vector<std::string> drawn;     // names, in drawing order
  std::vector<std::string> exported;  // names, in export order
  double scale_x = 0, scale_y = 0;
  int offset_x = 0, offset_y = 0;
  bool printing = false;
};

class ProbeView : public zr::TvtView {
 public:
  inline static const std::string kClassName = "TvtProbeView";

  inline static ProbeLog log;

  ProbeView() { NamePrefix = "Probe"; }
  std::string ClassName() const override { return kClassName; }
  void AfterLoad() override { ++log.after_loads; }
  void Draw(zr::Canvas&) override {
    log.drawn.push_back(Name);
    log.scale_x = ScaleX;
    log.scale_y = ScaleY;
    log.offset_x = OffsetX;
    log.offset_y = OffsetY;
    log.printing = IsPrinting;
  }
  void ExportTo() override { log.exported.push_back(Name); }

  // Registers the class with the running engine and clears the log.
  static void Register(zr::TvtGlobals& globals) {
    log = {};
    globals.add_ins.Register({kClassName, [] { return std::make_unique<ProbeView>(); }, {}, {}});
  }

  static std::unique_ptr<ProbeView> Make(std::string name, int left, int top, int width,
                                         int height) {
    auto view = std::make_unique<ProbeView>();
    view->Name = std::move(name);
    view->SetBounds(left, top, width, height);
    return view;
  }
};

}  // namespace testing_support
