#include "gadgets/crunchers.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "sound/soundsystem.h"

namespace {

constexpr cKindPlan kOnePlan{.typeCode = "1ncr"_tc, .startFresh = true};
constexpr cKindPlan kConversionPlan{.typeCode = "Conv"_tc, .startFresh = true};
constexpr cKindPlan kAreaVolumePlan{.typeCode = "ArVo"_tc, .startFresh = true};
constexpr int kTwoInputBoundsFrame = 5;

// The largest magnitude the calculators let a result reach.
constexpr double kLargest = 1.797693e308;
// Degrees to radians, as the function machine has always used it.
constexpr double kRadiansPerDegree = 0.01745329251993889;

// 0! ... 170!, the factorials a double holds.
constexpr std::array<double, 171> kFactorials = [] {
  std::array<double, 171> f{};
  f[0] = 1.0;
  for (size_t n = 1; n < f.size(); ++n) f[n] = f[n - 1] * static_cast<double>(n);
  return f;
}();

// The animation: the body frame of each step of the two-input calculators.
constexpr int kTwoInputBodyFrames[8] = {10, 11, 12, 13, 14, 5, 6, 7};
// The function machine's symbol frame of each function.
constexpr int kFunctionSymbolFrames[7] = {10, 11, 9, 13, 12, 14, 15};
constexpr int kSteps = 8;
constexpr uint32_t kTicksPerStep = 9;

// A result into the output; one that no double can hold is an error.
void store(cGadget& g, double value) {
  g.numberOut = value;
  if (!std::isfinite(value)) g.inputError = true;
}

// The rhythm of every calculator. Idle, a change or a signal on any input
// starts the animation with the calculators' sound; each later step waits
// more than 9 ticks, and the last computes from the inputs as they are then.
// In the error state the output stays 0 throughout.
template <class Compute>
void crunchStep(cGadget& g, uint8_t& signalResult, int inputs, int outputPin, Compute compute) {
  if (g.animationStep == 0) {
    bool changed = false, signalled = false;
    for (int i = 0; i < inputs; ++i) changed |= g.inputChanged(i);
    for (int i = 0; i < inputs; ++i) signalled |= g.takeSignal(i);
    if (!changed && !signalled) return;
    signalResult = signalled;
    g.animationStep = 1;
    g.invalidate();
    playSound(kCrunchSound);
    return;
  }
  if (!g.intervalElapsed(kTicksPerStep)) return;
  if (++g.animationStep >= kSteps) {
    g.animationStep = 0;
    compute();
    if (signalResult) g.signalPin(outputPin);
  }
  if (g.inputError) g.numberOut = 0.0;
  g.invalidate();
}

// The body frame of the one-input machines: step + 1.
int oneInputBodyFrame(const cGadget& g) { return std::min<int>(g.animationStep, kSteps - 1) + 1; }

}  // namespace

// ---- the two-input calculators ----

cNumberCruncher::cNumberCruncher(uint8_t operation, cTypeCode code, cPoint dropPoint) : operation(operation) {
  completeKind(*this, share_, {.typeCode = code, .boundsFrame = kTwoInputBoundsFrame, .startFresh = true},
               &dropPoint);
}

cNumberCruncher::cNumberCruncher(uint8_t operation, cTypeCode code, const cGadgetRecord& record)
    : cGadget(record), operation(operation) {
  completeKind(*this, share_, {.typeCode = code, .boundsFrame = kTwoInputBoundsFrame, .startFresh = true},
               nullptr);
}

bool cNumberCruncher::hasNumberOutput(int) { return true; }

void cNumberCruncher::step() {
  crunchStep(*this, signalResult, 2, 2, [this] { compute(inputValue(0), inputValue(1)); });
}

void cNumberCruncher::compute(double x, double y) {
  switch (operation) {
    case kAdd:
      store(*this, x + y);
      break;
    case kSubtract:
      store(*this, x - y);
      break;
    case kMultiply:
      if (std::fabs(y) > 1.0 && std::fabs(x) > kLargest / std::fabs(y))
        inputError = true;
      else
        store(*this, x * y);
      break;
    case kDivide:
      if (y == 0.0) {
        numberOut = 0.0;
        inputError = true;
      } else if (std::fabs(y) >= 1.0 || std::fabs(x) <= std::fabs(y) * kLargest) {
        // The one computation that ends an error state.
        inputError = false;
        store(*this, x / y);
      } else {
        inputError = true;
      }
      break;
  }
}

void cNumberCruncher::draw(CWinGDib& surface, const cRect& clip) {
  share_.draw(*this, kTwoInputBodyFrames[std::min<int>(animationStep, kSteps - 1)], surface, clip);
  share_.drawAt(*this, operation + 1, 0, surface, clip);
  if (inputError) drawErrorMarker(surface, clip);
}

// ---- cOneInputCruncher ----

bool cOneInputCruncher::hasNumberOutput(int) { return true; }

void cOneInputCruncher::step() {
  crunchStep(*this, signalResult, 1, 1, [this] { compute(inputValue(0)); });
}

// ---- cOneNumberCruncher ----

cOneNumberCruncher::cOneNumberCruncher(cPoint dropPoint) { completeKind(*this, share_, kOnePlan, &dropPoint); }
cOneNumberCruncher::cOneNumberCruncher(const cGadgetRecord& record) : cOneInputCruncher(record) {
  completeKind(*this, share_, kOnePlan, nullptr);
}

void cOneNumberCruncher::compute(double x) {
  static const double largestSquareRoot = std::sqrt(kLargest);
  inputError = false;
  switch (settings.values[0]) {
    case 0:
      if (x >= 0.0) store(*this, std::sqrt(x));
      else inputError = true;
      break;
    case 1:
      if (std::fabs(x) >= largestSquareRoot) inputError = true;
      else store(*this, x * x);
      break;
    case 2: {
      const double n = std::trunc(x);
      if (n >= 0.0 && n <= 170.0) store(*this, kFactorials[static_cast<size_t>(n)]);
      else inputError = true;  // also a value that is not a number
      break;
    }
    case 3:
      store(*this, std::sin(x * kRadiansPerDegree));
      break;
    case 4:
      store(*this, std::cos(x * kRadiansPerDegree));
      break;
    case 5:
      store(*this, std::tan(x * kRadiansPerDegree));
      break;
    case 6:
      store(*this, std::floor(x));
      break;
    default:
      break;  // a function this gadget does not know leaves the last result
  }
}

void cOneNumberCruncher::draw(CWinGDib& surface, const cRect& clip) {
  share_.draw(*this, oneInputBodyFrame(*this), surface, clip);
  const int32_t function = settings.values[0];
  if (function >= 0 && function < 7) share_.drawAt(*this, kFunctionSymbolFrames[function], 0, surface, clip);
  if (inputError) drawErrorMarker(surface, clip);
}

// ---- cConversion ----

cConversion::cConversion(cPoint dropPoint) { completeKind(*this, share_, kConversionPlan, &dropPoint); }
cConversion::cConversion(const cGadgetRecord& record) : cOneInputCruncher(record) {
  completeKind(*this, share_, kConversionPlan, nullptr);
}

void cConversion::compute(double x) {
  // A negative length or weight is impossible; temperatures have their own floor.
  inputError = x < 0.0;
  switch (settings.values[0]) {
    case 0:
      inputError = x < -273.0;
      store(*this, x * 1.8 + 32.0);
      break;
    case 1:
      inputError = x < -459.4;
      store(*this, (x - 32.0) * 0.5555555555555556);
      break;
    case 2:
      store(*this, x * 3.280839895013123);
      break;
    case 3:
      store(*this, x * 0.3048);
      break;
    case 4:
      store(*this, x * 2.2046244201837775);
      break;
    case 5:
      store(*this, x * 0.453592);
      break;
    default:
      break;
  }
}

void cConversion::draw(CWinGDib& surface, const cRect& clip) {
  share_.draw(*this, oneInputBodyFrame(*this), surface, clip);
  const int32_t k = settings.values[0];
  if (k >= 0 && k < 6) {
    // Units 10 Celsius, 11 metres, 12 kilograms, and 13, 14, 15 what they convert to.
    const int metric = 10 + k / 2, other = metric + 3;
    const bool fromMetric = k % 2 == 0;
    share_.drawAt(*this, fromMetric ? metric : other, 0, surface, clip);
    share_.drawAt(*this, fromMetric ? other : metric, 1, surface, clip);
  }
  if (inputError) drawErrorMarker(surface, clip);
}

// ---- cAreaVolume ----

cAreaVolume::cAreaVolume(cPoint dropPoint) {
  settings.bools[0] = 3;  // the sphere
  completeKind(*this, share_, kAreaVolumePlan, &dropPoint);
}
cAreaVolume::cAreaVolume(const cGadgetRecord& record) : cOneInputCruncher(record) {
  completeKind(*this, share_, kAreaVolumePlan, nullptr);
}

void cAreaVolume::compute(double x) {
  inputError = x < 0.0;
  switch (settings.bools[0]) {
    case 0:
      store(*this, x * x);
      break;
    case 1:
      store(*this, x * x * 3.141592653589);
      break;
    case 2:
      store(*this, x * (x * x));
      break;
    case 3:
      store(*this, x * (x * x) * 4.188790204785333);
      break;
    default:
      break;
  }
}

void cAreaVolume::draw(CWinGDib& surface, const cRect& clip) {
  share_.draw(*this, oneInputBodyFrame(*this), surface, clip);
  const uint8_t shape = settings.bools[0];
  if (shape < 4) share_.drawAt(*this, shape + 9, 0, surface, clip);
  if (inputError) drawErrorMarker(surface, clip);
}
