#pragma once
// Device geometry of the canvas: whole device pixels, x to the right, y downwards. Rectangles
// follow GDI: left and top belong to the rectangle, right and bottom do not.

#include <algorithm>
#include <cstdint>
#include <iosfwd>
#include <vector>

namespace zr {

struct Point {
  int x = 0;
  int y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;   // exclusive
  int bottom = 0;  // exclusive

  static Rect from_size(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
  }
  // Saturated: rectangles from outside input may span more than an int.
  int width() const { return span(left, right); }
  int height() const { return span(top, bottom); }
  // A rectangle with no pixel in it; inverted rectangles are empty too.
  bool empty() const { return right <= left || bottom <= top; }
  bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  // Left/top and right/bottom swapped where inverted, as GDI orders the corners it is given.
  Rect normalized() const {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
  }
  Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  // The common part; an empty rectangle (all zero) when there is none.
  Rect intersected(const Rect& other) const;
  bool intersects(const Rect& other) const { return !intersected(other).empty(); }

  friend bool operator==(const Rect&, const Rect&) = default;

 private:
  static int span(int from, int to) {
    int64_t d = int64_t{to} - from;
    return static_cast<int>(std::clamp<int64_t>(d, INT32_MIN, INT32_MAX));
  }
};

// An area made of rectangles (their union); what GDI's clipping regions are in this system.
// Empty rectangles are dropped, so an empty region holds none.
class Region {
 public:
  Region() = default;
  explicit Region(const Rect& rect) { add(rect); }

  void add(const Rect& rect);
  void intersect(const Rect& rect);
  void intersect(const Region& other);
  void offset(int dx, int dy);

  bool empty() const { return rects_.empty(); }
  const std::vector<Rect>& rects() const { return rects_; }
  // The smallest rectangle around the region (all zero when empty).
  Rect bounds() const;
  bool contains(Point p) const;
  bool intersects(const Rect& rect) const;

  friend bool operator==(const Region&, const Region&) = default;

 private:
  std::vector<Rect> rects_;
};

// "(1,2)", "3x4", "(1,2)-(3,4)" for test failure messages.
std::ostream& operator<<(std::ostream& out, const Point& p);
std::ostream& operator<<(std::ostream& out, const Size& s);
std::ostream& operator<<(std::ostream& out, const Rect& r);
// "{(0,0)-(1,1) (5,5)-(6,6)}"
std::ostream& operator<<(std::ostream& out, const Region& region);

}  // namespace zr
