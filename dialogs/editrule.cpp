#include "dialogs/editrule.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <system_error>

namespace {

// The C character classes of the "C" locale, whatever locale the toolkit set.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetterOrDigit(char c) { return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "%d%c" reads exactly one item: leading white space, a sign, digits, and
// nothing after them. Sets negative for a minus sign before a value that is
// not zero.
bool readsAsOneInteger(std::string_view text, bool& negative) {
  size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  bool minus = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) minus = text[i++] == '-';
  const size_t digitsStart = i;
  bool nonZero = false;
  while (i < text.size() && isDigit(text[i])) nonZero |= text[i++] != '0';
  if (i == digitsStart || i != text.size()) return false;
  negative = minus && nonZero;
  return true;
}

// Reads a real number the way "%lf" does in the "C" locale (the toolkit may
// have set another): leading white space, a sign, the longest number that
// can be read. Returns the number of characters read, 0 when none.
size_t readReal(std::string_view text, double& value) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
  const std::string copy(text);
  char* end = nullptr;
  value = strtod_l(copy.c_str(), &end, cLocale);
  return static_cast<size_t>(end - copy.c_str());
}

// "%lf%c" reads exactly one item, and the number is written the way a child
// types one: digits, a sign, a point and an exponent, nothing that the C
// library would also take for a number ("inf", "nan", hexadecimal), and
// nothing too large to hold.
bool readsAsOneReal(std::string_view text, double& value) {
  for (char c : text)
    if (!isSpace(c) && !isDigit(c) && c != '+' && c != '-' && c != '.' && c != 'e' && c != 'E')
      return false;
  value = 0;
  const size_t read = readReal(text, value);
  return read > 0 && read == text.size() && std::isfinite(value);
}

bool passesRealRule(const cEditRule& rule, std::string_view text) {
  if (text.empty() || text == "." || (rule.negative && text == "-")) return true;
  const char last = text.back();
  if (last == '.' || last == 'e' || last == 'E') text.remove_suffix(1);
  double value = 0;
  if (!readsAsOneReal(text, value)) return false;
  // A field that does not allow negatives refuses them in reals as in integers.
  return rule.negative || value >= 0;
}

bool passesIntegerRule(const cEditRule& rule, std::string_view text) {
  if (text.empty()) return true;
  if (rule.negative && text == "-") return true;
  bool negative = false;
  if (!readsAsOneInteger(text, negative)) return false;
  return rule.negative || !negative;
}

}  // namespace

cEditRule parseEditRule(std::string_view ruleText) {
  cEditRule rule;
  for (char c : ruleText) {
    switch (c) {
      case '#': rule.numeric = true; break;
      case '-': rule.negative = true; break;
      case '.': rule.decimals = true; break;
      case 'A': rule.lettersAndDigits = true; break;
      default:
        if (isDigit(c) && rule.maxLength < 100000) rule.maxLength = rule.maxLength * 10 + (c - '0');
        break;
    }
  }
  return rule;
}

bool editTextPasses(const cEditRule& rule, std::string_view text) {
  if (rule.lettersAndDigits) {
    for (char c : text)
      if (!isLetterOrDigit(c)) return false;
  }
  if (rule.decimals) {
    if (!passesRealRule(rule, text)) return false;
  } else if (rule.numeric) {
    if (!passesIntegerRule(rule, text)) return false;
  }
  if (rule.maxLength > 0 && static_cast<int>(text.size()) > rule.maxLength) return false;
  return true;
}

double editTextReal(std::string_view text) {
  double value = 0;
  return readReal(text, value) > 0 ? value : 0;
}

std::string editRealText(double value) {
  // "%f" in the "C" locale: six decimals, a point whatever the toolkit's locale.
  char buffer[400];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  if (error != std::errc()) return "0.000000";
  return std::string(buffer, end);
}
