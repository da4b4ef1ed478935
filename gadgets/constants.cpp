#include "gadgets/constants.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

#include "engine/keyboard.h"
#include "sound/soundsystem.h"

namespace {

constexpr cKindPlan kConstantPlan{.typeCode = "cnst"_tc, .boundsFrame = 4};
constexpr cKindPlan kMiniPlan{.typeCode = "MiCo"_tc, .boundsFrame = 11};
constexpr int32_t kLargestValue = 999;
// The weights of the three digits, units first.
constexpr int32_t kWeights[3] = {1, 10, 100};

// The constant's picture: the body, digits at entries 3 (hundreds) to 5
// (units) of its position table, the up arrows at entries 0 to 2 and the
// down arrows at 6 to 8, hundreds first. The pressed up arrows are frames 1
// to 3, the pressed down arrows frames 5 to 7, in the same order.
constexpr int kConstantBodyFrame = 4;
constexpr int kConstantDigitBase = 8;
constexpr int kConstantHundredsEntry = 3;
struct cArrow {
  int entry, frame;
};
// Digit d's arrows, counting from the units.
constexpr cArrow upArrow(int d) { return {2 - d, 3 - d}; }
constexpr cArrow downArrow(int d) { return {8 - d, 7 - d}; }
// The small constant: digits at entries 0 (hundreds) to 2 (units), then the body frame.
constexpr int kMiniBodyFrame = 11;
constexpr int kMiniDigitBase = 1;

// texts[0] as a start value: an unsigned decimal number of 0 ... 999. Reading
// stops at the first character after the digits; a text that is empty,
// holds no number or one out of range gives 0.
int32_t startValueOf(const cSettingsBlock& settings) {
  std::string_view text(settings.text(0), strnlen(settings.text(0), kTextLength));
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() || value > uint32_t(kLargestValue)) return 0;
  return static_cast<int32_t>(value);
}

// Digit i of the value, counting from the units.
int digitOf(int32_t value, int i) {
  return static_cast<int>((value < 0 ? -value : value) / kWeights[i] % 10);
}

}  // namespace

// ---- cConstant ----

cConstant::cConstant(cPoint dropPoint) {
  completeKind(*this, share_, kConstantPlan, &dropPoint);
  takeStartValue();
}

cConstant::cConstant(const cGadgetRecord& record) : cGadget(record) {
  completeKind(*this, share_, kConstantPlan, nullptr);
  takeStartValue();
}

void cConstant::takeStartValue() { integerValue = startValueOf(settings); }
void cConstant::settingsChanged(cGadgetDialog&) { takeStartValue(); }

bool cConstant::hasNumberOutput(int) { return true; }
double cConstant::numberOutput(int) { return integerValue; }

void cConstant::readInputs() {
  cGadget::readInputs();
  if (integerValue != 0) signalPin(0);
}

void cConstant::mouseDown(cPoint point, uint16_t, bool) {
  if (settings.flag(kLockBit)) return;
  for (int d = 0; d < 3; ++d) {
    for (const auto& [arrow, change] : {std::pair{upArrow(d), kWeights[d]}, std::pair{downArrow(d), -kWeights[d]}}) {
      const cRect area = share_.frameRect(arrow.frame).offsetBy(position + share_.position(arrow.entry));
      if (!area.contains(point)) continue;
      arrowPressed = 1;
      arrowFrame = static_cast<uint8_t>(arrow.frame);
      arrowPosition = static_cast<uint8_t>(arrow.entry);
      signalPin(0);
      invalidate();
      const int32_t before = integerValue;
      integerValue += change;
      if (integerValue > kLargestValue || integerValue < 0) {
        integerValue = before;
        playSound(kRefusalSound);
      }
      return;
    }
  }
}

void cConstant::step() {
  if (arrowPressed && !cKeyboard::mouseStillDown()) {
    arrowPressed = 0;
    invalidate();
  }
}

void cConstant::reset() {
  // The value outlives Stop unless the user asked for it to go back.
  arrowPressed = 0;
  if (settings.flag(kAutoResetBit)) takeStartValue();
}

void cConstant::draw(CWinGDib& surface, const cRect& clip) {
  share_.draw(*this, kConstantBodyFrame, surface, clip);
  if (!settings.flag(kHideBit))
    for (int d = 0; d < 3; ++d)
      share_.drawAt(*this, kConstantDigitBase + digitOf(integerValue, d), kConstantHundredsEntry + 2 - d, surface,
                    clip);
  if (arrowPressed) share_.drawAt(*this, arrowFrame, arrowPosition, surface, clip);
  if (inputError) drawErrorMarker(surface, clip);
}

// ---- cMiniConstant ----

cMiniConstant::cMiniConstant(cPoint dropPoint) { completeKind(*this, share_, kMiniPlan, &dropPoint); }

cMiniConstant::cMiniConstant(const cGadgetRecord& record) : cGadget(record) {
  completeKind(*this, share_, kMiniPlan, nullptr);
  takeStartValue();
}

void cMiniConstant::takeStartValue() { integerValue = startValueOf(settings); }
void cMiniConstant::settingsChanged(cGadgetDialog&) { takeStartValue(); }

bool cMiniConstant::hasNumberOutput(int) { return true; }
double cMiniConstant::numberOutput(int) { return integerValue; }

void cMiniConstant::readInputs() {
  cGadget::readInputs();
  if (integerValue != 0) signalPin(0);
}

void cMiniConstant::reset() {
  // The base clears integerValue; a fixed number must be the same at the next Run.
  cGadget::reset();
  takeStartValue();
}

void cMiniConstant::draw(CWinGDib& surface, const cRect& clip) {
  share_.draw(*this, kMiniBodyFrame, surface, clip);
  for (int d = 0; d < 3; ++d) share_.drawAt(*this, kMiniDigitBase + digitOf(integerValue, d), 2 - d, surface, clip);
  if (inputError) drawErrorMarker(surface, clip);
}
