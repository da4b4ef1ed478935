// The kind pattern as every kind of this folder keeps it: what a new gadget
// and a loaded one look like, and the resources a kind shares.
#include <cstring>
#include <vector>

#include "engine/kinds.h"
#include "gadgets/gadgets_testing.h"
#include "graphics/frameset.h"

using namespace gadgettest;

namespace {

class KindPattern : public GadgetTest {};

struct cPinWant {
  int x, y, direction;
};

struct cKindWant {
  cTypeCode code;
  uint16_t artwork;
  int boundsFrame;
  int16_t textNumber;
  bool startFresh;
  std::vector<cPinWant> pins;
  bool numberOutput;  // else true/false
};

const cKindWant kKinds[] = {
    {"AndG"_tc, 1029, 1, 2008, false, {{4, 15, 0}, {4, 31, 0}, {75, 23, 1}}, false},
    {"OrGa"_tc, 1030, 1, 2009, false, {{4, 15, 0}, {4, 31, 0}, {75, 23, 1}}, false},
    {"XorG"_tc, 1031, 1, 2011, false, {{4, 15, 0}, {4, 31, 0}, {75, 23, 1}}, false},
    {"NotG"_tc, 1032, 1, 2010, false, {{4, 23, 0}, {75, 23, 1}}, false},
    {"Addr"_tc, 1020, 5, 2016, true, {{3, 36, 0}, {49, 3, 0}, {93, 36, 1}}, true},
    {"Subr"_tc, 1020, 5, 2017, true, {{3, 36, 0}, {49, 3, 0}, {93, 36, 1}}, true},
    {"Mulr"_tc, 1020, 5, 2018, true, {{3, 36, 0}, {49, 3, 0}, {93, 36, 1}}, true},
    {"Divr"_tc, 1020, 5, 2019, true, {{3, 36, 0}, {49, 3, 0}, {93, 36, 1}}, true},
    {"1ncr"_tc, 1024, 1, 2005, true, {{4, 27, 0}, {100, 27, 1}}, true},
    {"Conv"_tc, 1026, 1, 2020, true, {{4, 27, 0}, {100, 27, 1}}, true},
    {"ArVo"_tc, 1025, 1, 2003, true, {{4, 27, 0}, {100, 27, 1}}, true},
    {"Comp"_tc, 1028, 1, 2021, false, {{4, 36, 0}, {39, 4, 0}, {72, 36, 1}}, false},
    {"cnst"_tc, 1021, 4, 2004, false, {{91, 33, 1}}, true},
    {"MiCo"_tc, 1063, 11, 2046, false, {{59, 13, 1}}, true},
};

}  // namespace

TEST_F(KindPattern, NewAndLoadedGadgetsOfEveryKind) {
  for (const cKindWant& k : kKinds) {
    SCOPED_TRACE(typeCodeText(k.code));
    ws->removeEverything();
    const cPoint drop(201, 301);
    std::unique_ptr<cGadget> made = mNewGadget(ws, k.code, drop, {}, false);
    ASSERT_NE(made, nullptr);
    cGadget* g = made.get();
    ws->addGadget(std::move(made));

    const cFrameSet frames(k.artwork);
    EXPECT_EQ(g->typeCode, k.code);
    EXPECT_EQ(g->bounds, frames.frameRect(k.boundsFrame)) << "bounds of frame " << k.boundsFrame;
    EXPECT_FALSE(g->bounds.isEmpty());
    EXPECT_EQ(g->textNumber, k.textNumber);
    EXPECT_EQ(g->startFresh, k.startFresh);
    EXPECT_TRUE(g->hasDialog);
    const cRect onSheet = g->worksheetRect();
    EXPECT_EQ(onSheet.top + g->bounds.height() / 2, drop.v) << "centred on the drop point";
    EXPECT_EQ(onSheet.left + g->bounds.width() / 2, drop.h);

    ASSERT_EQ(g->pinCount, k.pins.size());
    for (size_t i = 0; i < k.pins.size(); ++i) {
      SCOPED_TRACE("pin " + std::to_string(i));
      EXPECT_EQ(g->pins[i].offset, cPoint(k.pins[i].y, k.pins[i].x));
      EXPECT_EQ(g->pins[i].direction, k.pins[i].direction);
      const int pin = static_cast<int>(i);
      if (k.pins[i].direction == kPinOutput) {
        EXPECT_EQ(g->hasNumberOutput(pin), k.numberOutput);
        EXPECT_EQ(g->hasBoolOutput(pin), !k.numberOutput) << "one kind of value per output";
        EXPECT_FALSE(g->hasSoundOutput(pin));
      }
    }
    EXPECT_EQ(g->recordSize(), kGadgetRecordSize) << "the common record is the whole body";

    // From its record: the same place, settings and geometry.
    g->settings.values[3] = 12345;
    const cPoint position = g->position;
    const cSettingsBlock settings = g->settings;
    reload(g);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->position, position);
    EXPECT_EQ(std::memcmp(&g->settings, &settings, sizeof settings), 0);
    EXPECT_EQ(g->bounds, frames.frameRect(k.boundsFrame));
    EXPECT_EQ(g->textNumber, k.textNumber);
    EXPECT_EQ(g->startFresh, k.startFresh);
    EXPECT_EQ(g->pinCount, k.pins.size());
  }
}

TEST_F(KindPattern, DefaultsOfNewGadgets) {
  // Only the area machine and the comparator start with a choice other than the first.
  for (const cKindWant& k : kKinds) {
    SCOPED_TRACE(typeCodeText(k.code));
    cGadget* g = place(k.code);
    const uint8_t shape = k.code == "ArVo"_tc ? 3 : k.code == "Comp"_tc ? 2 : 0;
    EXPECT_EQ(g->settings.bools[0], shape);
    EXPECT_EQ(g->settings.values[0], 0);
    EXPECT_EQ(g->settings.flags32, 0u);
    EXPECT_EQ(g->settings.text(0)[0], '\0');
  }
}

TEST_F(KindPattern, AKindsSharedResourcesLiveFromItsFirstGadgetToItsLast) {
  const int64_t objectsBefore = liveObjectCount();
  artwork->forget();
  sounds->forget();
  cGadget* first = place("1ncr"_tc);
  cGadget* second = place("1ncr"_tc);
  EXPECT_EQ(artwork->asked(kFrameSetResourceType, 1024), 1) << "one frame set for both";
  EXPECT_EQ(artwork->asked(1010, 1024), 1) << "one position table";
  EXPECT_EQ(sounds->played(1020), 1) << "the sound is loaded with the first";
  ws->removeGadget(first);
  artwork->forget();
  place("1ncr"_tc);
  EXPECT_EQ(artwork->asked(kFrameSetResourceType, 1024), 0) << "still held by the second";
  ws->removeEverything();
  (void)second;
  EXPECT_EQ(liveObjectCount(), objectsBefore) << "the last gadget freed the shared frame set";
  place("1ncr"_tc);
  EXPECT_EQ(artwork->asked(kFrameSetResourceType, 1024), 1) << "made again for a new first gadget";

  // The four two-input calculators are one kind of artwork.
  artwork->forget();
  place("Addr"_tc);
  place("Divr"_tc);
  place("Mulr"_tc);
  EXPECT_EQ(artwork->asked(kFrameSetResourceType, 1020), 1);
  EXPECT_EQ(artwork->asked(kPinTableResourceType, 1020), 3) << "each gadget has its own pins";

  // The area machine draws its own artwork and borrows the function machine's pins.
  artwork->forget();
  place("ArVo"_tc);
  EXPECT_EQ(artwork->asked(kFrameSetResourceType, 1025), 1);
  EXPECT_EQ(artwork->asked(kPinTableResourceType, 1024), 1);
  EXPECT_EQ(artwork->asked(kPinTableResourceType, 1025), 0);
}

TEST_F(KindPattern, TheFactoryKnowsTheseKindsAndNoCodeThatDiffersInCase) {
  for (const cKindWant& k : kKinds) EXPECT_TRUE(gadgetFactory().knows(k.code)) << typeCodeText(k.code);
  for (cTypeCode code : {"andG"_tc, "ANDG"_tc, "CNST"_tc, "mico"_tc, "addr"_tc})
    EXPECT_EQ(mNewGadget(ws, code, {100, 100}, {}, false), nullptr) << typeCodeText(code);
}
