#include "engine/gadget.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "engine/engine_testing.h"
#include "engine/gadgetdialog.h"

using namespace enginetest;

namespace {

class GadgetTest : public EngineTest {};

// A dialog with the controls a test gives it.
class cFakeDialog : public cGadgetDialog {
 public:
  std::map<int, int> choices;
  std::map<int, int32_t> numbers;
  std::map<int, bool> onOffs;
  std::map<int, std::string> texts;
  int redraws = 0;
  int hookControl = -1;

  bool hasChoice(int i) const override { return choices.count(i) > 0; }
  int choice(int i) const override { return choices.at(i); }
  void setChoice(int i, int v) override { choices[i] = v; }
  bool hasNumber(int i) const override { return numbers.count(i) > 0; }
  int32_t number(int i) const override { return numbers.at(i); }
  void setNumber(int i, int32_t v) override { numbers[i] = v; }
  bool hasOnOff(int i) const override { return onOffs.count(i) > 0; }
  bool onOff(int i) const override { return onOffs.at(i); }
  void setOnOff(int i, bool v) override { onOffs[i] = v; }
  bool hasText(int i) const override { return texts.count(i) > 0; }
  std::string text(int i) const override { return texts.at(i); }
  void setText(int i, const std::string& t) override { texts[i] = t; }
  void attachHook(int control, cDialogHook) override { hookControl = control; }
  void redrawGadgetPicture() override { ++redraws; }
};

}  // namespace

TEST_F(GadgetTest, InputsReadTheProducerAsItsOutputKindSays) {
  cTestKind* gate = add("AndG"_tc, {200, 200});
  cTestKind* number = add("MiCo"_tc, {100, 50});
  cTestKind* flag = add("Coin"_tc, {150, 50});
  cTestKind* sound = add("Tape"_tc, {250, 50});
  cTestKind* mute = add("Stk1"_tc, {300, 50});
  const cSoundRecord record{10, 11025, nullptr};

  struct cCase {
    const char* what;
    std::function<void()> setUp;
    cGadget* from;
    double expected;
  };
  const cCase cases[] = {
      {"number 0.5", [&] { number->numberOut = 0.5; }, number, 0.5},
      {"number -3", [&] { number->numberOut = -3; }, number, -3.0},
      {"true", [&] { flag->boolOut = true; }, flag, 1.0},
      {"false", [&] { flag->boolOut = false; }, flag, 0.0},
      {"a sound", [&] { sound->soundOut = &record; }, sound, 1.0},
      {"no sound", [&] { sound->soundOut = nullptr; }, sound, 0.0},
  };
  EXPECT_EQ(gate->inputValue(0), 0.0) << "no wire";
  for (const cCase& c : cases) {
    c.setUp();
    cConnection* w = wire(c.from, 0, gate, 0);
    EXPECT_EQ(gate->inputValue(0), c.expected) << c.what;
    ws->removeWire(w);
  }
  // A pin that offers none of the three kinds reads -1: give the mute
  // sticker a pin of its own for the test.
  mute->setPinsFromTable(pinTable({{1, 1, kPinOutput}}));
  wire(mute, 0, gate, 0);
  EXPECT_EQ(gate->inputValue(0), -1.0);
}

TEST_F(GadgetTest, InputChangedReportsOnlyWiredPinsButAlwaysRemembers) {
  cTestKind* gate = add("AndG"_tc, {200, 200});
  cTestKind* src = add("MiCo"_tc, {100, 50});
  wire(src, 0, gate, 0);

  src->numberOut = 2;
  EXPECT_TRUE(gate->inputChanged(0));
  EXPECT_FALSE(gate->inputChanged(0)) << "no change the second time";
  EXPECT_EQ(gate->inputCache[0], 2.0);

  // Pin 1 has no wire: it reads 0, differs from a cached 5, stores 0, says false.
  gate->inputCache[1] = 5.0;
  EXPECT_FALSE(gate->inputChanged(1));
  EXPECT_EQ(gate->inputCache[1], 0.0);
  EXPECT_FALSE(gate->inputChanged(7)) << "a pin the gadget does not have";
}

TEST_F(GadgetTest, ReadInputsWithStartFreshMakesEveryConnectedInputChangeOnce) {
  cTestKind* gate = add("AndG"_tc, {200, 200});
  cTestKind* src = add("MiCo"_tc, {100, 50});
  cConnection* w = wire(src, 0, gate, 0);
  src->numberOut = 0.0;

  gate->readInputs();
  EXPECT_FALSE(gate->inputChanged(0)) << "without startFresh the cache holds the current value";

  w->signal = true;
  gate->startFresh = true;
  gate->readInputs();
  EXPECT_EQ(std::bit_cast<uint64_t>(gate->inputCache[0]), kInputSentinelBits);
  EXPECT_FALSE(w->signal) << "a fresh start clears the signal on the wire";
  EXPECT_TRUE(gate->inputChanged(0)) << "even though the input is 0";
  EXPECT_FALSE(gate->inputChanged(0));
}

TEST_F(GadgetTest, SignalsTravelOnTheWireAndAreTakenOnce) {
  cTestKind* gate = add("AndG"_tc, {200, 200});
  cTestKind* src = add("MiCo"_tc, {100, 50});
  cConnection* w = wire(src, 0, gate, 0);

  EXPECT_TRUE(src->signalPin(0));
  EXPECT_TRUE(w->signal);
  EXPECT_TRUE(gate->takeSignal(0));
  EXPECT_FALSE(gate->takeSignal(0));

  // Pins without a wire, or beyond the table, do nothing and say false.
  EXPECT_FALSE(gate->signalPin(1));
  EXPECT_FALSE(gate->signalPin(3));
  EXPECT_FALSE(gate->takeSignal(3));
  gate->clearSignal(99);
}

TEST_F(GadgetTest, IntervalElapsesOnlyOnceTheDifferenceExceedsIt) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  g->lastChange = 10;
  struct { uint32_t clock; bool elapsed; uint32_t lastAfter; } steps[] = {
      {15, false, 10}, {20, false, 10}, {21, true, 21}, {25, false, 21}, {32, true, 32},
  };
  for (const auto& s : steps) {
    ws->runTicks = s.clock;
    EXPECT_EQ(g->intervalElapsed(10), s.elapsed) << "at " << s.clock;
    EXPECT_EQ(g->lastChange, s.lastAfter);
  }
  // Unsigned: a clock that went back counts as a long time.
  ws->runTicks = 5;
  EXPECT_TRUE(g->intervalElapsed(10));
}

TEST_F(GadgetTest, CopyInputToOutputsTakesAllThreeReadings) {
  cTestKind* gate = add("AndG"_tc, {200, 200});
  cTestKind* src = add("MiCo"_tc, {100, 50});
  gate->boolOut = true;
  gate->numberOut = 9;
  EXPECT_FALSE(gate->copyInputToOutputs(0));
  EXPECT_FALSE(gate->boolOut);
  EXPECT_EQ(gate->numberOut, 0.0);

  wire(src, 0, gate, 0);
  src->numberOut = 0.25;
  EXPECT_TRUE(gate->copyInputToOutputs(0));
  EXPECT_TRUE(gate->boolOut);
  EXPECT_EQ(gate->numberOut, 0.25);
  EXPECT_EQ(gate->soundOut, nullptr);
}

TEST_F(GadgetTest, NewGadgetIsCentredOnTheDropPoint) {
  // Bounds 0,0,46,80 (height 46, width 80): origin = point - half size.
  cTestKind* g = add("AndG"_tc, {100, 200});
  EXPECT_EQ(g->position, cPoint(100 - 23, 200 - 40));
  // Odd sizes: halves truncate toward zero; a bounds top/left shifts the origin.
  g->bounds = cRect(-3, 2, 10, 13);  // height 13, width 11
  g->centreOn({50, 50});
  EXPECT_EQ(g->position, cPoint(50 - 6 + 3, 50 - 5 - 2));
  EXPECT_EQ((g->worksheetRect().top + g->worksheetRect().bottom) / 2, 50);
}

TEST_F(GadgetTest, NearestPinFamilyChoosesByDistanceAndFreedom) {
  cTestKind* gate = add("AndG"_tc, {100, 100});  // pins at (15,4) in, (31,4) in, (23,75) out
  cTestKind* src = add("MiCo"_tc, {300, 300});
  const cPoint origin = gate->position;
  auto at = [&](int v, int h) { return origin + cPoint(v, h); };

  EXPECT_EQ(gate->nearestPin(at(16, 5)).pin, 0);
  EXPECT_EQ(gate->nearestPin(at(30, 0)).pin, 1);
  const cPinChoice out = gate->nearestPin(at(0, 70));
  EXPECT_EQ(out.pin, 2);
  EXPECT_EQ(out.direction, kPinOutput);
  EXPECT_EQ(gate->nearestPin(at(23, 4)).pin, 0) << "a tie goes to the first pin";

  wire(src, 0, gate, 0);
  EXPECT_EQ(gate->nearestFreePin(at(15, 4)).pin, 1);
  EXPECT_EQ(gate->nearestFreeInput(at(23, 75)), 1);
  EXPECT_EQ(gate->nearestFreeOutput(at(15, 4)), 2);
  EXPECT_EQ(src->nearestFreeOutput(at(0, 0)), -1) << "its one output holds the wire";
  EXPECT_EQ(src->nearestFreeInput(at(0, 0)), -1) << "it has no input";
}

TEST_F(GadgetTest, RecordRoundTripKeepsTheCommonBody) {
  cTestKind* g = add("AndG"_tc, {100, 100});
  g->id = 0xFF123456;
  g->position = {-7, 513};
  g->settings.flags32 = 0x80000001;
  g->settings.bools[0] = 1;
  g->settings.bools[3] = 255;
  g->settings.values[0] = -1;
  g->settings.values[3] = 123456789;
  std::strcpy(g->settings.text(0), "hej");
  std::strcpy(g->settings.text(3), "\xe6\xf8\xe5");  // æøå in Windows-1252
  g->locked = true;

  std::vector<uint8_t> body(kGadgetRecordSize, 0xCC);
  EXPECT_EQ(g->writeRecord(body), kGadgetRecordSize);
  const uint8_t head[] = {0xFF, 0x12, 0x34, 0x56, 0xFF, 0xF9, 0x02, 0x01, 0x80, 0, 0, 1, 1, 0, 0, 255,
                          0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(0, std::memcmp(body.data(), head, sizeof head));
  EXPECT_EQ(body[272], 1);
  for (int i = 273; i < kGadgetRecordSize; ++i) ASSERT_EQ(body[size_t(i)], 0) << "reserved byte " << i;

  // Read back with garbage in the reserved tail: the same body comes out.
  std::vector<uint8_t> dirty = body;
  std::fill(dirty.begin() + 273, dirty.end(), 0x5A);
  auto copy = mNewGadget(ws.get(), "AndG"_tc, {}, dirty, true);
  ASSERT_TRUE(copy);
  std::vector<uint8_t> again(kGadgetRecordSize);
  copy->writeRecord(again);
  EXPECT_EQ(again, body);
  EXPECT_EQ(copy->id, 0xFF123456u);
}

TEST_F(GadgetTest, ResetClearsRunStateAndRepaintsAnErrorOnce) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  g->boolOut = true;
  g->numberOut = 3;
  g->integerValue = 4;
  g->animationStep = 5;
  g->kindByte = 6;
  g->firstStep = false;
  g->inputError = true;
  ws->flush(-1);
  g->reset();
  EXPECT_FALSE(g->boolOut);
  EXPECT_EQ(g->numberOut, 0.0);
  EXPECT_EQ(g->integerValue, 0);
  EXPECT_EQ(g->animationStep, 0);
  EXPECT_EQ(g->kindByte, 0);
  EXPECT_TRUE(g->firstStep);
  EXPECT_FALSE(g->inputError);
  EXPECT_TRUE(ws->dirtyPending) << "clearing the error repaints the gadget";
  EXPECT_EQ(ws->dirty, g->worksheetRect());
}

TEST_F(GadgetTest, DestroyingAGadgetTakesItsWiresAndTheirKnots) {
  cTestKind* gate = add("AndG"_tc, {200, 200});
  cTestKind* a = add("MiCo"_tc, {100, 50});
  cTestKind* b = add("MiCo"_tc, {100, 350});
  cTestKind* c = add("AndG"_tc, {300, 400});
  wire(a, 0, gate, 0, {{120, 120}, {130, 130}});
  wire(b, 0, gate, 1);
  wire(gate, 2, c, 0, {{250, 300}});
  const int64_t before = liveObjectCount();
  ws->removeGadget(gate);
  EXPECT_EQ(ws->wires.count(), 0);
  EXPECT_EQ(a->wireAt(0), nullptr);
  EXPECT_EQ(c->wireAt(0), nullptr);
  // The gadget, three wires and three knots at least (their list nodes too).
  EXPECT_LE(liveObjectCount(), before - 7);
}

TEST_F(GadgetTest, DialogRoundTripMovesSettingsBothWays) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  g->settings.bools[1] = 2;
  g->settings.values[2] = -40;
  g->settings.setFlag(5, true);
  std::strcpy(g->settings.text(1), "abc");
  g->dialogHook = [](cGadgetDialog&, cGadget&) {};
  g->dialogHookControl = 3;

  cFakeDialog d;
  d.choices = {{1, 0}};
  d.numbers = {{2, 0}};
  d.onOffs = {{5, false}, {6, false}};
  d.texts = {{1, ""}};
  g->loadDialog(d);
  EXPECT_EQ(d.choices.at(1), 2);
  EXPECT_EQ(d.numbers.at(2), -40);
  EXPECT_TRUE(d.onOffs.at(5));
  EXPECT_FALSE(d.onOffs.at(6));
  EXPECT_EQ(d.texts.at(1), "abc");
  EXPECT_EQ(d.choices.count(0), 0u) << "controls the dialog lacks are skipped";
  EXPECT_EQ(d.hookControl, 3);

  d.choices[1] = 1;
  d.numbers[2] = 77;
  d.onOffs[6] = true;
  d.texts[1] = std::string(100, 'x');
  g->settings.values[0] = 9;  // no number control 0: becomes 0
  g->saveDialog(d);
  EXPECT_EQ(g->settings.bools[1], 1);
  EXPECT_EQ(g->settings.values[2], 77);
  EXPECT_EQ(g->settings.values[0], 0);
  EXPECT_EQ(g->settings.flags32, (1u << 5) | (1u << 6));
  EXPECT_EQ(std::string(g->settings.text(1)), std::string(59, 'x')) << "cut to 59, last byte zero";
  EXPECT_EQ(g->settings.text(1)[59], 0);
  EXPECT_EQ(g->settings.text(2)[0], 0) << "the next text is untouched";
}

TEST_F(GadgetTest, PreviewAppliesTheDialogForAMomentOnly) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  g->settings.values[0] = 5;
  cFakeDialog d;
  d.numbers = {{0, 12}};
  g->previewCallback(d, *g);
  EXPECT_EQ(d.redraws, 1);
  EXPECT_EQ(g->settings.values[0], 5);
}

TEST_F(GadgetTest, SingleTextTakesTheWhole240Bytes) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  g->singleText = true;
  cFakeDialog d;
  d.texts = {{0, std::string(300, 'y')}};
  g->saveDialog(d);
  EXPECT_EQ(std::strlen(g->settings.texts), 239u);
  d.texts[0] = "";
  g->loadDialog(d);
  EXPECT_EQ(d.texts.at(0).size(), 239u);
}

TEST_F(GadgetTest, ErrorMarkerIsTheSmallOneOnNarrowGadgetsAndCentred) {
  cTestKind* wide = add("AndG"_tc, {100, 100});   // 80 x 46: the 16 x 16 marker fits
  cTestKind* narrow = add("Stk1"_tc, {300, 300});  // 12 x 12: the small 6 x 6 one
  surface->fill(0);
  wide->drawErrorMarker(*surface, surface->bounds());
  narrow->drawErrorMarker(*surface, surface->bounds());
  const cPoint w = wide->position + cPoint((46 - 16) / 2, (80 - 16) / 2);
  EXPECT_EQ(*surface->pixelAddress(w.h, w.v), kBigErrorIndex);
  EXPECT_EQ(*surface->pixelAddress(w.h + 15, w.v + 15), kBigErrorIndex);
  EXPECT_EQ(*surface->pixelAddress(w.h - 1, w.v), 0);
  const cPoint n = narrow->position + cPoint(3, 3);
  EXPECT_EQ(*surface->pixelAddress(n.h, n.v), kSmallErrorIndex);
  EXPECT_EQ(*surface->pixelAddress(n.h + 6, n.v), 0);
}

TEST_F(GadgetTest, SelectionFramesTheGadgetAndShowsTheLockOnlyInLockEdit) {
  cTestKind* g = add("AndG"_tc, {100, 100});
  g->locked = true;
  const cRect r = g->worksheetRect();
  const uint8_t green = nearestIndex(kDarkGreen);
  const int cv = r.top + r.height() / 2, ch = r.left + r.width() / 2;

  surface->fill(0);
  g->drawSelection(surface->bounds(), *surface);
  EXPECT_EQ(*surface->pixelAddress(r.left, r.top), green);
  EXPECT_EQ(*surface->pixelAddress(r.right - 1, r.bottom - 1), green);
  EXPECT_EQ(*surface->pixelAddress(r.left + 1, r.top + 1), 0);
  EXPECT_EQ(*surface->pixelAddress(ch, cv), 0) << "no lock marker outside lock-edit mode";

  ws->lockEdit = true;
  g->drawSelection(surface->bounds(), *surface);
  // The 6 x 8 marker centred: its top-left at centre - (4, 3).
  EXPECT_EQ(*surface->pixelAddress(ch - 3, cv - 4), kLockIndex);
  EXPECT_EQ(*surface->pixelAddress(ch + 2, cv + 3), kLockIndex);
  EXPECT_EQ(*surface->pixelAddress(ch + 3, cv + 3), 0);

  // A clip that misses the gadget draws nothing.
  surface->fill(0);
  g->drawSelection(cRect(0, 0, 5, 5), *surface);
  EXPECT_EQ(*surface->pixelAddress(r.left, r.top), 0);
}

TEST_F(GadgetTest, DrawAtDrawsElsewhereAndPutsThePositionBack) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  const cPoint home = g->position;
  surface->fill(0);
  g->drawAt(*surface, {10, 20}, true);
  EXPECT_EQ(g->position, home);
  EXPECT_EQ(*surface->pixelAddress(21, 11), g->colour);
  EXPECT_EQ(*surface->pixelAddress(20, 10), nearestIndex(kDarkGreen)) << "the selection frame";
  EXPECT_EQ(*surface->pixelAddress(home.h + 2, home.v + 2), 0);
}

TEST_F(GadgetTest, MoveByRepaintsBothPlacesAndTheWires) {
  cTestKind* a = add("MiCo"_tc, {100, 100});
  cTestKind* b = add("AndG"_tc, {100, 300});
  cConnection* w = wire(a, 0, b, 0);
  const cRect oldRect = a->worksheetRect(), oldWire = w->extent();
  ws->flush(-1);
  a->moveBy({50, -20});
  const cRect expected = oldRect | a->worksheetRect() | oldWire | w->extent();
  EXPECT_EQ(ws->dirty, expected);
  EXPECT_EQ(a->position, oldRect.topLeft() + cPoint(50, -20));
}

TEST_F(GadgetTest, HitTestIsInclusiveAtTopLeftOnly) {
  cTestKind* g = add("MiCo"_tc, {100, 100});  // 30 x 20
  const cPoint p = g->position;
  EXPECT_TRUE(g->hitTest(p));
  EXPECT_TRUE(g->hitTest(p + cPoint(19, 29)));
  EXPECT_FALSE(g->hitTest(p + cPoint(20, 0)));
  EXPECT_FALSE(g->hitTest(p + cPoint(0, 30)));
  EXPECT_FALSE(g->hitTest(p + cPoint(-1, 0)));
}

TEST_F(GadgetTest, PinTablesShorterThanTheirCountGiveThePinsTheyHold) {
  cTestKind* g = add("MiCo"_tc, {100, 100});
  std::vector<uint8_t> t = pinTable({{1, 2, 0}, {3, 4, 1}});
  byteio::putU16LE(t.data(), 40);  // claims 40 pins
  g->setPinsFromTable(t);
  EXPECT_EQ(g->pinCount, 2);
  g->setPinsFromTable({});
  EXPECT_EQ(g->pinCount, 0);
}

TEST_F(GadgetTest, GadgetsWithManyPinsCacheEveryInput) {
  // The totaler has eleven inputs; each must notice its own changes.
  cTestKind* g = add("MiCo"_tc, {100, 100});
  std::vector<cPinSpec> pins;
  for (int i = 0; i < 12; ++i) pins.push_back({i * 3, 4, kPinInput});
  g->setPinsFromTable(pinTable(pins));
  cTestKind* src = add("MiCo"_tc, {300, 300});
  wire(src, 0, g, 11);
  src->numberOut = 4;
  g->readInputs();
  EXPECT_FALSE(g->inputChanged(11));
  src->numberOut = 5;
  EXPECT_TRUE(g->inputChanged(11));
  EXPECT_EQ(g->inputCache[11], 5.0);
}

TEST_F(GadgetTest, FreshKeysAreUniqueAndMarked) {
  std::set<uint32_t> keys;
  for (int i = 0; i < 1000; ++i) {
    const uint32_t k = cGadget::freshKey();
    EXPECT_EQ(k >> 24, 0xFFu);
    keys.insert(k);
  }
  EXPECT_EQ(keys.size(), 1000u);
}
