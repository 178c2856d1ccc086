#include "engine/run/db_dataset.h"

#include "platform/errors.h"
#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"

namespace zr {

void TvtDBDataSet::SetDataSet(ClientDataset* data_set) {
  data_set_ = data_set;
  data_source_ = nullptr;
}

void TvtDBDataSet::SetDataSource(DataSource* source) {
  data_source_ = source;
  if (source) data_set_ = nullptr;
}

ClientDataset* TvtDBDataSet::BoundDataSet() const {
  if (data_source_ && data_source_->dataset()) return data_source_->dataset();
  return data_set_;
}

ClientDataset& TvtDBDataSet::SourceDataSet() const {
  ClientDataset* data_set = BoundDataSet();
  if (!data_set) throw ZorelError("Unable to open dataset " + Name);
  return *data_set;
}

void TvtDBDataSet::StartIteration() {
  if (OpenDataSource) SourceDataSet().open();
  if (OnOpen) OnOpen(*this);
  saved_ = SourceDataSet().get_bookmark();
  end_ = false;
}

void TvtDBDataSet::EndIteration() {
  // Forget the mark before going back, so that a failing move does not leave it behind.
  const Bookmark saved = saved_;
  saved_ = Bookmark();
  if (!saved.is_null() && (RangeBegin == rbCurrent || RangeEnd == reCurrent)) {
    SourceDataSet().goto_bookmark(saved);
  }
  if (OnClose) OnClose(*this);
  if (CloseDataSource) SourceDataSet().close();
}

void TvtDBDataSet::First() {
  ClientDataset& data_set = SourceDataSet();
  if (RangeBegin == rbCurrent && !saved_.is_null()) {
    data_set.goto_bookmark(saved_);
  } else {
    // rbFirst, or nothing was current when the walk started (an empty view).
    data_set.first();
  }
  end_ = false;
  TvtDataset::First();
}

void TvtDBDataSet::Next() {
  end_ = false;
  ClientDataset& data_set = SourceDataSet();
  if (RangeEnd == reCurrent) {
    const Bookmark here = data_set.get_bookmark();
    if (here.is_null() || saved_.is_null() || here == saved_) {
      end_ = true;
      return;
    }
    // Not yet at the saved record (rbFirst): move on rather than stand still for ever.
  }
  data_set.next();
  TvtDataset::Next();
}

void TvtDBDataSet::Prior() {
  SourceDataSet().prior();
  TvtDataset::Prior();
}

bool TvtDBDataSet::Eof() {
  return TvtDataset::Eof() || SourceDataSet().eof() || end_;
}

void TvtDBDataSet::ComponentRemoved(const void* component) {
  if (component == data_set_) data_set_ = nullptr;
  if (component == data_source_) data_source_ = nullptr;
}

}  // namespace zr
