// The rule an edit field of a property dialog checks its text against. The
// rule is written as the field's text in the template, and the dialog clears
// it when it opens:
//
//   #        a number
//   -        negative numbers allowed
//   .        decimals allowed (a real number)
//   A        letters A-Z, a-z and digits only
//   digits   the longest text allowed ("#-.5": a real number, negative
//            allowed, at most 5 characters; "239": any text of up to 239)
//
// Any other character of the rule text means nothing. Texts are
// Windows-1252 bytes.
#pragma once

#include <string>
#include <string_view>

struct cEditRule {
  bool numeric = false;
  bool negative = false;
  bool decimals = false;
  bool lettersAndDigits = false;
  int maxLength = 0;  // 0: no limit of its own

  friend bool operator==(const cEditRule&, const cEditRule&) = default;
};

cEditRule parseEditRule(std::string_view ruleText);

// Whether the text is allowed by the rule. A number field takes what a
// child is in the middle of typing: an empty text, a lone "." or "-" (when
// negatives are allowed), and a number that ends in ".", "e" or "E".
bool editTextPasses(const cEditRule& rule, std::string_view text);

// The number a real-number field holds ("%lf"; 0 when it holds none).
double editTextReal(std::string_view text);
// A number as a real-number field shows it ("%f").
std::string editRealText(double value);
