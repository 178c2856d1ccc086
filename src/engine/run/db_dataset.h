#pragma once
// TvtDBDataSet: a report dataset that walks a client dataset, directly (DataSet) or through a
// data source (DataSource, whose dataset it walks).
//
// Ranges: rbFirst starts at the first record, rbCurrent at the record that was current at
// StartIteration (the saved record). reLast ends at the data set's end; reCurrent ends after
// the saved record: rbCurrent + reCurrent yields exactly that record, and rbFirst + reCurrent
// walks from the first record up to and including it (or to the end when it is no longer in
// view) instead of never moving. reCount ends after RangeEndCount records or at the end.
// EndIteration returns to the saved record when either range is "current".
//
// References: DataSet and DataSource are not owned. A component registered in a
// TvtComponentContainer that is removed or destroyed is forgotten here (ComponentRemoved);
// callers that bind components held nowhere else must keep them alive while bound.
// Errors of the client dataset (open, moves, bookmarks) pass through unchanged.

#include <functional>
#include <string>

#include "engine/run/report_dataset.h"
#include "platform/table/bookmark.h"

namespace zr {

class ClientDataset;
class DataSource;

class TvtDBDataSet : public TvtDataset {
 public:
  using TvtDataset::TvtDataset;

  bool OpenDataSource = true;    // open the data set at StartIteration
  bool CloseDataSource = false;  // close the data set at EndIteration
  TNotifyEvent OnOpen, OnClose;

  ClientDataset* DataSet() const { return data_set_; }
  DataSource* GetDataSource() const { return data_source_; }
  // Clears DataSource.
  void SetDataSet(ClientDataset* data_set);
  // A non-null source clears DataSet.
  void SetDataSource(DataSource* source);

  // The data source's dataset when both are set, otherwise DataSet. Raises ZorelError
  // "Unable to open dataset <Name>" when neither is bound.
  ClientDataset& SourceDataSet() const;
  // As SourceDataSet, but null instead of raising.
  ClientDataset* BoundDataSet() const;

  void StartIteration() override;
  void EndIteration() override;
  void First() override;
  void Next() override;
  void Prior() override;
  bool Eof() override;

  void ComponentRemoved(const void* component) override;

 private:
  ClientDataset* data_set_ = nullptr;
  DataSource* data_source_ = nullptr;
  Bookmark saved_;  // the record current at StartIteration; null when none
  bool end_ = false;
};

}  // namespace zr
