#pragma once
// TvtCompositeReport: several reports prepared as one document. The members are built in list
// order into the composite's prepared pages, once or once per record of the composite's driving
// dataset. A member whose first form page asks to print on the previous page, on paper of the
// same size and orientation, continues on the last page the member before it left.
//
// Members are not owned and must outlive the composite. Each member keeps its own datasets
// (its Components) and events; OnBeginDoc and OnEndDoc of every member run around the whole
// run, and each member's form is restored afterwards as the composite's own is.

#include <string>
#include <vector>

#include "engine/report/report.h"

namespace zr {

class TvtCompositeReport : public TvtReport {
 public:
  explicit TvtCompositeReport(std::string name = "CompositeReport");

  std::vector<TvtReport*> Reports;

 protected:
  void BuildReport() override;
  void BeginDocument() override;
  void EndDocument() override;

 private:
  // Whether `next` starts on the last page prepared so far (or, before any page, on `member`'s
  // last form page).
  bool NextContinues(const TvtReport& member, const TvtReport& next);
  // One member's build into the composite's pages, with the append state carried in and out.
  void BuildMember(TvtReport& member, bool continue_next);

  struct AppendState {
    bool append = false;
    int32_t saved_y = 0, saved_bottom = 0;
    bool footer_owed = false;
  } append_;
};

}  // namespace zr
