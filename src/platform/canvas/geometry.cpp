#include "platform/canvas/geometry.h"

#include <ostream>

namespace zr {

Rect Rect::intersected(const Rect& other) const {
  Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
         std::min(bottom, other.bottom)};
  return r.empty() ? Rect{} : r;
}

void Region::add(const Rect& rect) {
  if (!rect.empty()) rects_.push_back(rect);
}

void Region::intersect(const Rect& rect) {
  std::vector<Rect> kept;
  for (const Rect& r : rects_) {
    Rect common = r.intersected(rect);
    if (!common.empty()) kept.push_back(common);
  }
  rects_ = std::move(kept);
}

void Region::intersect(const Region& other) {
  std::vector<Rect> kept;
  for (const Rect& a : rects_) {
    for (const Rect& b : other.rects_) {
      Rect common = a.intersected(b);
      if (!common.empty()) kept.push_back(common);
    }
  }
  rects_ = std::move(kept);
}

void Region::offset(int dx, int dy) {
  for (Rect& r : rects_) r = r.offset(dx, dy);
}

Rect Region::bounds() const {
  if (rects_.empty()) return {};
  Rect b = rects_.front();
  for (const Rect& r : rects_) {
    b = {std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right),
         std::max(b.bottom, r.bottom)};
  }
  return b;
}

bool Region::contains(Point p) const {
  return std::any_of(rects_.begin(), rects_.end(), [p](const Rect& r) { return r.contains(p); });
}

bool Region::intersects(const Rect& rect) const {
  return std::any_of(rects_.begin(), rects_.end(),
                     [&rect](const Rect& r) { return r.intersects(rect); });
}

std::ostream& operator<<(std::ostream& out, const Point& p) {
  return out << '(' << p.x << ',' << p.y << ')';
}

std::ostream& operator<<(std::ostream& out, const Size& s) {
  return out << s.width << 'x' << s.height;
}

std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << '(' << r.left << ',' << r.top << ")-(" << r.right << ',' << r.bottom << ')';
}

std::ostream& operator<<(std::ostream& out, const Region& region) {
  out << '{';
  for (size_t i = 0; i < region.rects().size(); ++i) out << (i ? " " : "") << region.rects()[i];
  return out << '}';
}

}  // namespace zr
