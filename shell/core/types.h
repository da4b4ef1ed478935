// Shared geometry and identity types of the whole program.
//
// cPoint  : v (vertical, y) then h (horizontal, x), signed 16-bit each.
// cRect   : top, left, bottom, right, signed 16-bit; bottom and right are
//           exclusive. A rectangle is empty when top >= bottom or
//           left >= right; an empty intersection is the all-zero rectangle.
// Type code: four ASCII characters as one 32-bit value whose bytes lie in
//           reading order in memory ("AndG" is the bytes 'A' 'n' 'd' 'G').
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

struct cPoint {
  int16_t v = 0;
  int16_t h = 0;

  constexpr cPoint() = default;
  constexpr cPoint(int v_, int h_) : v(static_cast<int16_t>(v_)), h(static_cast<int16_t>(h_)) {}

  friend constexpr cPoint operator+(cPoint a, cPoint b) { return {a.v + b.v, a.h + b.h}; }
  friend constexpr cPoint operator-(cPoint a, cPoint b) { return {a.v - b.v, a.h - b.h}; }
  constexpr cPoint& operator+=(cPoint d) { return *this = *this + d; }
  constexpr cPoint& operator-=(cPoint d) { return *this = *this - d; }
  friend constexpr bool operator==(cPoint, cPoint) = default;
};

// A rectangle as the Windows calls take it: left, top, right, bottom.
struct cWinRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  friend constexpr bool operator==(const cWinRect&, const cWinRect&) = default;
};

struct cRect {
  int16_t top = 0;
  int16_t left = 0;
  int16_t bottom = 0;
  int16_t right = 0;

  constexpr cRect() = default;
  constexpr cRect(int t, int l, int b, int r)
      : top(static_cast<int16_t>(t)), left(static_cast<int16_t>(l)),
        bottom(static_cast<int16_t>(b)), right(static_cast<int16_t>(r)) {}

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool isEmpty() const { return top >= bottom || left >= right; }
  constexpr cPoint topLeft() const { return {top, left}; }

  // Top and left inclusive, bottom and right exclusive.
  constexpr bool contains(cPoint p) const {
    return p.v >= top && p.v < bottom && p.h >= left && p.h < right;
  }
  constexpr bool intersects(const cRect& o) const { return !(*this & o).isEmpty(); }

  constexpr cRect offsetBy(cPoint d) const {
    return {top + d.v, left + d.h, bottom + d.v, right + d.h};
  }
  constexpr cRect grownBy(int n) const { return {top - n, left - n, bottom + n, right + n}; }

  // Intersection; an empty result is the all-zero rectangle.
  friend constexpr cRect operator&(const cRect& a, const cRect& b) {
    cRect r(std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
            std::min(a.right, b.right));
    return r.isEmpty() ? cRect() : r;
  }
  // Union; an empty operand contributes nothing.
  friend constexpr cRect operator|(const cRect& a, const cRect& b) {
    if (a.isEmpty()) return b.isEmpty() ? cRect() : b;
    if (b.isEmpty()) return a;
    return {std::min(a.top, b.top), std::min(a.left, b.left), std::max(a.bottom, b.bottom),
            std::max(a.right, b.right)};
  }
  constexpr cRect& operator&=(const cRect& o) { return *this = *this & o; }
  constexpr cRect& operator|=(const cRect& o) { return *this = *this | o; }
  friend constexpr bool operator==(const cRect&, const cRect&) = default;

  constexpr cWinRect toWin() const { return {left, top, right, bottom}; }
  static constexpr cRect fromWin(const cWinRect& w) { return {w.top, w.left, w.bottom, w.right}; }
};

// Four-character codes ---------------------------------------------------------

using cTypeCode = uint32_t;

// The value whose bytes in memory are the four characters in reading order.
constexpr cTypeCode makeTypeCode(char a, char b, char c, char d) {
  const uint32_t ua = static_cast<uint8_t>(a), ub = static_cast<uint8_t>(b),
                 uc = static_cast<uint8_t>(c), ud = static_cast<uint8_t>(d);
  if constexpr (std::endian::native == std::endian::little)
    return ua | (ub << 8) | (uc << 16) | (ud << 24);
  else
    return (ua << 24) | (ub << 16) | (uc << 8) | ud;
}
// Only the first four characters count; a shorter text is padded with spaces.
constexpr cTypeCode makeTypeCode(std::string_view s) {
  auto at = [&](size_t i) { return i < s.size() ? s[i] : ' '; };
  return makeTypeCode(at(0), at(1), at(2), at(3));
}
consteval cTypeCode operator""_tc(const char* s, size_t n) {
  return makeTypeCode(std::string_view(s, n));
}
// Character i (0..3) of a type code, in reading order.
constexpr char typeCodeChar(cTypeCode code, int i) {
  if constexpr (std::endian::native == std::endian::little)
    return static_cast<char>((code >> (8 * i)) & 0xFF);
  else
    return static_cast<char>((code >> (8 * (3 - i))) & 0xFF);
}
std::string typeCodeText(cTypeCode code);

// Saturating conversion used by the gadget kinds: 2147483647 or more gives
// 2147483646, -2147483646 or less gives -2147483646, the rest truncates
// toward zero. A NaN gives 0.
int32_t saturateToInt32(double x);
