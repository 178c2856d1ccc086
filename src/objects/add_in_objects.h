#pragma once
// The registration components of the add-in report objects: while one exists, forms holding
// its class load (the class is in the engine's add-in registry). The viewer places one of
// each on its form; tools and tests create them the same way. They need the engine state
// (TvtGlobals) installed for their whole life.

namespace zr {

class TvtBarCodeObject {
 public:
  TvtBarCodeObject();
  ~TvtBarCodeObject();
  TvtBarCodeObject(const TvtBarCodeObject&) = delete;
  TvtBarCodeObject& operator=(const TvtBarCodeObject&) = delete;
};

class TvtShapeObject {
 public:
  TvtShapeObject();
  ~TvtShapeObject();
  TvtShapeObject(const TvtShapeObject&) = delete;
  TvtShapeObject& operator=(const TvtShapeObject&) = delete;
};

class TvtCheckBoxObject {
 public:
  TvtCheckBoxObject();
  ~TvtCheckBoxObject();
  TvtCheckBoxObject(const TvtCheckBoxObject&) = delete;
  TvtCheckBoxObject& operator=(const TvtCheckBoxObject&) = delete;
};

class TvtRoundRectObject {
 public:
  TvtRoundRectObject();
  ~TvtRoundRectObject();
  TvtRoundRectObject(const TvtRoundRectObject&) = delete;
  TvtRoundRectObject& operator=(const TvtRoundRectObject&) = delete;
};

class TvtCrossObject {
 public:
  TvtCrossObject();
  ~TvtCrossObject();
  TvtCrossObject(const TvtCrossObject&) = delete;
  TvtCrossObject& operator=(const TvtCrossObject&) = delete;
};

class TGridObject {
 public:
  TGridObject();
  ~TGridObject();
  TGridObject(const TGridObject&) = delete;
  TGridObject& operator=(const TGridObject&) = delete;
};

// Every add-in object of this library at once.
class TvtAddInObjects {
 public:
  TvtAddInObjects() = default;

 private:
  TGridObject grid_;
  TvtBarCodeObject barcode_;
  TvtShapeObject shape_;
  TvtCheckBoxObject check_box_;
  TvtRoundRectObject round_rect_;
  TvtCrossObject cross_;
};

}  // namespace zr
