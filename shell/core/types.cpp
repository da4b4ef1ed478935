#include "shell/core/types.h"

#include <cmath>

std::string typeCodeText(cTypeCode code) {
  std::string s(4, ' ');
  for (int i = 0; i < 4; ++i) s[static_cast<size_t>(i)] = typeCodeChar(code, i);
  return s;
}

int32_t saturateToInt32(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return 2147483646;
  if (x <= -2147483646.0) return -2147483646;
  return static_cast<int32_t>(x);
}
