#include "shell/core/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace {
// The shared buffer of formatNumber: 10 characters are the display width, but
// a value just below the exponent bounds ("9999999.12345678") is longer, so
// the buffer has room for the longest fixed-point text.
char gFormatted[64];
}  // namespace

const char* formatNumber(double x, int& decimals) {
  const bool exponent =
      x != 0 && ((x > 0 && (x <= 0.000001 || x >= 10000000.0)) ||
                 (x < 0 && (x >= -0.00001 || x <= -10000000.0)));
  if (exponent || !std::isfinite(x)) {
    std::snprintf(gFormatted, sizeof gFormatted, "%#10.4g", x);
    if (std::strlen(gFormatted) > 10) std::snprintf(gFormatted, sizeof gFormatted, "%#10.3g", x);
    return gFormatted;
  }
  std::snprintf(gFormatted, sizeof gFormatted, "%10.8f", x);
  // Count the trailing zeros of the eight decimals.
  const size_t len = std::strlen(gFormatted);
  int zeros = 0;
  while (zeros < 8 && gFormatted[len - 1 - static_cast<size_t>(zeros)] == '0') ++zeros;
  const int needed = 8 - zeros;
  if (decimals < needed) decimals = needed;
  if (decimals < 0) decimals = 0;
  if (decimals > 8) decimals = 8;
  char format[8] = "%10.Xf";
  format[4] = static_cast<char>('0' + decimals);
  std::snprintf(gFormatted, sizeof gFormatted, format, x);
  return gFormatted;
}

double parseNumber(const char* text) {
  double x = 0;
  if (!text || std::sscanf(text, "%lf", &x) != 1 || x == 0 || std::isnan(x)) return 0;
  const double m = std::fabs(x);
  const double bounded = m > 1e300 ? 1e300 : (m < 1e-300 ? 1e-300 : m);
  return x < 0 ? -bounded : bounded;
}

uint32_t ticks() { return ticksFromMilliseconds(platform().clock().milliseconds()); }

cToneRate toneRate(double frequency, double seconds, uint32_t fullLength, uint32_t eighthLength) {
  cToneRate r;
  double rate = 11025.0 * frequency * (1.0 / 220.0);
  if (std::isnan(rate)) rate = 0;
  if (rate > 65535.0) {
    r.useEighth = true;
    rate /= 8.0;
    if (rate > 65535.0) rate = 65535.0;
  }
  if (rate < 10.0) rate = 10.0;
  r.rate = static_cast<uint16_t>(rate);
  const uint32_t length = r.useEighth ? eighthLength : fullLength;
  double count = static_cast<double>(r.rate) * seconds;
  if (!(count > 0)) count = 0;
  r.sampleCount = count >= static_cast<double>(length) ? length : static_cast<uint32_t>(count);
  return r;
}
