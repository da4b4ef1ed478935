#include "engine/connection.h"

#include <cmath>
#include <limits>

#include "engine/engine_testing.h"

using namespace enginetest;

namespace {

class ConnectionTest : public EngineTest {
 protected:
  // A wire whose ends (pins of two test gadgets) lie at the given points.
  cConnection* between(cPoint from, cPoint to, const std::vector<cPoint>& knots = {}) {
    cTestKind* a = add("MiCo"_tc, {0, 0});
    cTestKind* b = add("Stop"_tc, {0, 0});
    a->position = from - a->pins[0].offset;
    b->position = to - b->pins[0].offset;
    return wire(a, 0, b, 0, knots);
  }
};

}  // namespace

TEST_F(ConnectionTest, ReadingsFollowTheOutputEndsKind) {
  cTestKind* number = add("MiCo"_tc, {50, 50});
  cTestKind* flag = add("Coin"_tc, {50, 150});
  cTestKind* sound = add("Tape"_tc, {50, 250});
  cTestKind* sink = add("Stop"_tc, {300, 300});
  const cSoundRecord record{3, 11025, nullptr};
  const double nan = std::numeric_limits<double>::quiet_NaN();

  struct cCase {
    const char* what;
    cTestKind* from;
    double number;
    bool flagValue;
    const cSoundRecord* snd;
    bool asBool;
    double asNumber;
    bool hasSound;
  };
  const cCase cases[] = {
      {"number 0.5", number, 0.5, false, nullptr, true, 0.5, false},
      {"number 0", number, 0.0, false, nullptr, false, 0.0, false},
      {"number -2", number, -2.0, false, nullptr, true, -2.0, false},
      {"number NaN reads false", number, nan, false, nullptr, false, nan, false},
      {"true", flag, 0, true, nullptr, true, 1.0, false},
      {"false", flag, 0, false, nullptr, false, 0.0, false},
      {"sound", sound, 0, false, &record, true, 1.0, true},
      {"silence", sound, 0, false, nullptr, false, 0.0, false},
  };
  for (const cCase& c : cases) {
    c.from->numberOut = c.number;
    c.from->boolOut = c.flagValue;
    c.from->soundOut = c.snd;
    cConnection* w = wire(c.from, 0, sink, 0);
    EXPECT_EQ(w->asBool(), c.asBool) << c.what;
    if (std::isnan(c.asNumber)) {
      EXPECT_TRUE(std::isnan(w->asNumber())) << c.what;
    } else {
      EXPECT_EQ(w->asNumber(), c.asNumber) << c.what;
    }
    EXPECT_EQ(w->asSound() != nullptr, c.hasSound) << c.what;
    ws->removeWire(w);
  }

  // With its output end loose a wire reads false, 0 and no sound.
  cConnection loose(nullptr, kFreePin, sink, 0);
  EXPECT_FALSE(loose.asBool());
  EXPECT_EQ(loose.asNumber(), 0.0);
  EXPECT_EQ(loose.asSound(), nullptr);
}

TEST_F(ConnectionTest, KnotIsHitWithinSquaredDistance36) {
  cConnection* w = between({100, 100}, {200, 300}, {{150, 200}});
  EXPECT_NE(w->hitKnot({150, 206}), nullptr) << "36 away";
  EXPECT_NE(w->hitKnot({156, 200}), nullptr);
  EXPECT_EQ(w->hitKnot({151, 206}), nullptr) << "37 away";
  // The point must lie in the wire's extent even when the knot is near.
  cConnection* flat = between({300, 100}, {300, 300}, {{300, 200}});
  EXPECT_EQ(flat->hitKnot({305, 200}), nullptr);
  EXPECT_NE(flat->hitKnot({302, 200}), nullptr);
  // Of two knots in reach the nearer wins, the first on a tie.
  cConnection* w2 = between({200, 100}, {200, 300}, {{200, 200}, {200, 204}});
  EXPECT_EQ(w2->hitKnot({200, 203})->data, w2->knots.tail()->data);
  EXPECT_EQ(w2->hitKnot({200, 202})->data, w2->knots.head()->data);
}

TEST_F(ConnectionTest, SegmentHitNeedsDistanceBelowFive) {
  // Output end (100,100), knot (100,200), input end (200,200): two segments.
  cConnection* w = between({100, 100}, {200, 200}, {{100, 200}});
  struct { cPoint p; int segment; } cases[] = {
      {{100, 150}, 0}, {{104, 150}, 0}, {{105, 150}, kNoSegment}, {{150, 200}, 1},
      {{150, 196}, 1}, {{160, 160}, kNoSegment}, {{300, 300}, kNoSegment},
  };
  for (const auto& c : cases)
    EXPECT_EQ(w->hitSegment(c.p), c.segment) << c.p.v << "," << c.p.h;
  // Near the corner both segments qualify; the nearer one wins.
  EXPECT_EQ(w->hitSegment({103, 199}), 1);
}

TEST_F(ConnectionTest, InsertKnotGoesIntoTheNearestSegment) {
  cConnection* w = between({100, 100}, {100, 400});
  w->insertKnot({100, 200});
  ASSERT_EQ(w->knots.count(), 1) << "the only knot";
  w->insertKnot({100, 150});  // in segment 0: before the first knot
  EXPECT_EQ(w->positionOfKnot(0), cPoint(100, 150));
  w->insertKnot({100, 350});  // in the last segment: appended
  EXPECT_EQ(w->positionOfKnot(2), cPoint(100, 350));
  w->insertKnot({100, 170});  // segment 1, between 150 and 200
  EXPECT_EQ(w->positionOfKnot(1), cPoint(100, 170));
  w->insertKnot({400, 400});  // near nothing: appended at the end
  EXPECT_EQ(w->positionOfKnot(4), cPoint(400, 400));
  EXPECT_EQ(w->indexOfKnot(w->knots.tail()->data), 4);
  cKnot stranger;
  EXPECT_EQ(w->indexOfKnot(&stranger), -2);
}

TEST_F(ConnectionTest, ExtentCoversEndsAndKnotsGrownByThree) {
  cConnection* w = between({100, 100}, {50, 300}, {{200, 150}});
  EXPECT_EQ(w->extent(), cRect(47, 97, 203, 303));
}

TEST_F(ConnectionTest, EndOfPinFindsEitherEndOrAnyPin) {
  cTestKind* a = add("MiCo"_tc, {50, 50});
  cTestKind* b = add("AndG"_tc, {200, 200});
  cConnection* w = wire(a, 0, b, 1, {{1, 1}, {2, 2}});
  EXPECT_EQ(w->endOfPin(a, 0), 0);
  EXPECT_EQ(w->endOfPin(b, 1), 2);
  EXPECT_EQ(w->endOfPin(b, 0), -1);
  EXPECT_EQ(w->endOfPin(b, 0x8000), 2) << "bit 15: any pin";
  EXPECT_EQ(w->endOfPin(nullptr, 0), -1);
}

TEST_F(ConnectionTest, ScaleKnotsTruncatesEachCoordinate) {
  cConnection* w = between({0, 0}, {10, 10}, {{10, 10}, {-7, 33}});
  w->scaleKnots(0.5, 1.5, 3.0, -1.0);
  EXPECT_EQ(w->positionOfKnot(0), cPoint(14, 8));   // v: -1 + 15, h: 3 + 5
  EXPECT_EQ(w->positionOfKnot(1), cPoint(-11, 19));  // v: -1 - 10.5 = -11.5, h: 3 + 16.5
  w->moveKnotsBy({1, -1});
  EXPECT_EQ(w->positionOfKnot(1), cPoint(-10, 18));
}

TEST_F(ConnectionTest, DestroyingAWireLetsGoOfBothPins) {
  cTestKind* a = add("MiCo"_tc, {50, 50});
  cTestKind* b = add("AndG"_tc, {200, 200});
  cConnection* w = wire(a, 0, b, 1, {{5, 5}});
  ASSERT_EQ(a->wireAt(0), w);
  ws->removeWire(w);
  EXPECT_EQ(a->wireAt(0), nullptr);
  EXPECT_EQ(b->wireAt(1), nullptr);
}

TEST_F(ConnectionTest, DrawsGreenWhenJoinedRedWhenLooseAndKnotsInBlue) {
  const uint8_t green = nearestIndex(kDarkGreen), red = nearestIndex(kDarkRed), blue = nearestIndex(kDarkBlue);
  cConnection* w = between({100, 100}, {100, 300}, {{100, 200}});
  surface->fill(0);
  w->draw(*surface, surface->bounds());
  EXPECT_EQ(*surface->pixelAddress(150, 100), green);
  EXPECT_EQ(*surface->pixelAddress(250, 100), green);
  // The knot: a 5 x 5 square round its point.
  EXPECT_EQ(*surface->pixelAddress(198, 98), blue);
  EXPECT_EQ(*surface->pixelAddress(202, 102), blue);
  EXPECT_EQ(*surface->pixelAddress(203, 100), green) << "beyond the square the line again";

  // Hidden segments are left out; a clip keeps the line inside it.
  surface->fill(0);
  w->hiddenSegment1 = 0;
  w->draw(*surface, cRect(0, 0, 540, 260));
  EXPECT_EQ(*surface->pixelAddress(150, 100), 0);
  EXPECT_EQ(*surface->pixelAddress(250, 100), green);
  EXPECT_EQ(*surface->pixelAddress(270, 100), 0);

  auto* dangling = between({300, 100}, {300, 200});
  dangling->detachTarget();
  dangling->freeEnd = {300, 200};
  surface->fill(0);
  dangling->draw(*surface, surface->bounds());
  EXPECT_EQ(*surface->pixelAddress(150, 300), red);
  dangling->snapped = true;
  dangling->draw(*surface, surface->bounds());
  EXPECT_EQ(*surface->pixelAddress(150, 300), green) << "snapped counts as joined";
}

TEST_F(ConnectionTest, SelectedSegmentIsThickAndRedWhenLocked) {
  cConnection* w = between({100, 100}, {100, 300}, {{100, 200}});
  surface->fill(0);
  w->drawSelected(*surface, surface->bounds(), 1);
  const uint8_t green = nearestIndex(kDarkGreen);
  EXPECT_EQ(*surface->pixelAddress(250, 100), green);
  EXPECT_EQ(*surface->pixelAddress(250, 101), green) << "two pixels thick";
  EXPECT_EQ(*surface->pixelAddress(150, 100), 0) << "only the selected segment";
  w->locked = true;
  w->drawSelected(*surface, surface->bounds(), 1);
  EXPECT_EQ(*surface->pixelAddress(250, 100), nearestIndex(kDarkRed));

  surface->fill(0);
  cConnection::drawSelectedKnot(*surface, surface->bounds(), *w->knots.head()->data);
  EXPECT_EQ(*surface->pixelAddress(197, 97), green);
  EXPECT_EQ(*surface->pixelAddress(203, 103), green);
  EXPECT_EQ(*surface->pixelAddress(200, 100), 0) << "a frame, not a fill";
}

TEST_F(ConnectionTest, AnEndNeverTakesAPinThatHoldsAnotherWire) {
  cTestKind* a = add("MiCo"_tc, {50, 50});
  cTestKind* b = add("Stop"_tc, {200, 200});
  cTestKind* c = add("Stop"_tc, {300, 300});
  cConnection* first = wire(a, 0, b, 0);
  cConnection* second = wire(a, 0, c, 0);
  EXPECT_EQ(a->wireAt(0), first);
  EXPECT_EQ(second->source, nullptr) << "the output already holds a wire";
  EXPECT_EQ(second->target, c);
  cConnection* third = wire(a, 5, c, 0);
  EXPECT_EQ(third->source, nullptr) << "no pin 5";
  EXPECT_EQ(third->target, nullptr) << "c's input holds the second wire";
  // Removing a leaves no wire pointing at it.
  ws->removeGadget(a);
  for (const cConnection* w : ws->wires) EXPECT_NE(w->source, a);
}
