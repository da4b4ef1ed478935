#include "engine/invention.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/engine_testing.h"
#include "tools/invention/inventiontext.h"

using namespace enginetest;

namespace {

class InventionTest : public EngineTest {
 protected:
  // The chunks of an image: id and body, in file order.
  struct cChunk {
    std::string id;
    std::vector<uint8_t> body;
  };
  static std::vector<cChunk> chunksOf(const std::vector<uint8_t>& image) {
    std::vector<cChunk> out;
    for (size_t at = 12; at + 8 <= image.size();) {
      const size_t n = byteio::getU32BE(&image[at + 4]);
      out.push_back({std::string(image.begin() + long(at), image.begin() + long(at) + 4),
                     std::vector<uint8_t>(image.begin() + long(at) + 8, image.begin() + long(at + 8 + n))});
      at += 8 + n;
    }
    return out;
  }
  int messages() { return static_cast<int>(hp.scriptedUi().messages().size()); }
  std::string lastMessage() { return hp.scriptedUi().messages().back().request.text; }
};

}  // namespace

TEST_F(InventionTest, EmptyWorksheetWrites32Bytes) {
  ws->setBackgroundQuietly(kBackgroundSteel);
  const std::vector<uint8_t> image = save();
  const uint8_t expected[] = {'F', 'O', 'R', 'M', 0, 0, 0, 24, 'G', 'a', 'd', 'f', 'f', 'v', 'e', 'r',
                              0,   0,   0,   2,   0, 4, 'b', 'a', 'c', 'k', 0,   0,   0,   2,   0x02, 0xBE};
  ASSERT_EQ(image.size(), 32u);
  EXPECT_EQ(0, std::memcmp(image.data(), expected, 32));
  EXPECT_EQ(inventionSize(*ws), 32u);
}

TEST_F(InventionTest, SaveAndLoadKeepListOrderKnotsLocksAndLimits) {
  cTestKind* a = add("MiCo"_tc, {100, 100});
  cTestKind* g = add("AndG"_tc, {200, 300});
  cTestKind* b = add("MiCo"_tc, {300, 100});
  a->settings.values[0] = 42;
  b->locked = true;
  wire(a, 0, g, 0, {{110, 200}, {150, 250}});
  cConnection* w2 = wire(b, 0, g, 1);
  w2->locked = true;
  ws->limits.setLimit(kindByCode("AndG"_tc)->number, 2);
  ws->setBackgroundQuietly(kBackgroundWaves);

  const std::vector<uint8_t> image = save();
  EXPECT_EQ(image.size(), inventionSize(*ws));
  const std::vector<uint32_t> keys = {gadgetAt(0)->id, gadgetAt(1)->id, gadgetAt(2)->id};

  // File order: gadgets from the back of the list, then wires from the back, then the limits.
  const auto chunks = chunksOf(image);
  ASSERT_EQ(chunks.size(), 2u + 3 + 2 + 1);
  EXPECT_EQ(chunks[2].id, "MiCo");
  EXPECT_EQ(chunks[3].id, "AndG");
  EXPECT_EQ(chunks[4].id, "MiCo");
  EXPECT_EQ(chunks[5].body.size(), 24u) << "the first wire, two knots";
  EXPECT_EQ(chunks[6].body.size(), 16u);
  EXPECT_EQ(chunks[7].id, "numG");

  ASSERT_GT(load(image), 0u);
  ASSERT_EQ(countGadgets(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gadgetAt(i)->id, keys[size_t(i)]) << "list order kept";
  EXPECT_TRUE(gadgetAt(0)->locked);
  EXPECT_EQ(gadgetAt(2)->settings.values[0], 42);
  EXPECT_EQ(ws->backgroundNumber(), kBackgroundWaves);
  EXPECT_EQ(ws->limits.limit(kindByCode("AndG"_tc)->number), 2);
  ASSERT_EQ(ws->wires.count(), 2);
  const cConnection* first = ws->wires.tail()->data;
  EXPECT_EQ(first->knots.count(), 2);
  EXPECT_EQ(first->positionOfKnot(1), cPoint(150, 250));
  EXPECT_EQ(first->source, gadgetAt(2));
  EXPECT_EQ(first->target, gadgetAt(1));
  EXPECT_TRUE(ws->wires.head()->data->locked);
  EXPECT_EQ(gadgetAt(1)->wireAt(1), ws->wires.head()->data);

  // And a second save gives the same bytes.
  EXPECT_EQ(save(), image);
}

TEST_F(InventionTest, RejectsWhatIsNotAnInventionAndSaysSo) {
  add("MiCo"_tc, {100, 100});
  const std::vector<uint8_t> good = cImageBuilder().gadget("MiCo", 0xFF000001, 10, 10).bytes();
  std::vector<uint8_t> noFver = cImageBuilder(4, false).gadget("MiCo", 0xFF000001, 10, 10).bytes();
  std::vector<uint8_t> wrongForm = good;
  wrongForm[8] = 'X';
  const std::vector<uint8_t> cases[] = {noFver, wrongForm, {good.begin(), good.begin() + 20}, {}};
  for (const auto& image : cases) {
    hp.scriptedUi().forget();
    ws->removeEverything();
    add("MiCo"_tc, {100, 100});
    EXPECT_EQ(readInvention(*ws, image, false), 0u);
    EXPECT_EQ(countGadgets(), 1) << "nothing added, nothing taken";
    ASSERT_EQ(messages(), 1);
    EXPECT_EQ(lastMessage(), "Denne fil er ikke gemt i Zanbel");
  }
  hp.scriptedUi().forget();
  EXPECT_EQ(readInvention(*ws, noFver, true), 0u);
  EXPECT_EQ(messages(), 0) << "quiet";
}

TEST_F(InventionTest, UnknownVersionIsReportedButRead) {
  for (uint16_t version : {0, 5}) {
    hp.scriptedUi().forget();
    const auto image = cImageBuilder(version).gadget("MiCo", 0xFF000001, 10, 10).bytes();
    EXPECT_EQ(load(image, false), image.size());
    EXPECT_EQ(countGadgets(), 1);
    EXPECT_EQ(ws->fileVersion, version);
    EXPECT_EQ(messages(), 1) << version;
  }
}

TEST_F(InventionTest, OldVersionsReadTwelveByteWiresWithoutKnotsOrLock) {
  for (uint16_t version : {1, 2}) {
    const auto image = cImageBuilder(version)
                           .gadget("MiCo", 0xFF000001, 10, 10)
                           .gadget("AndG", 0xFF000002, 100, 100)
                           .oldWire(0xFF000001, 0, 0xFF000002, 1)
                           .bytes();
    ASSERT_EQ(load(image), image.size());
    ASSERT_EQ(ws->wires.count(), 1) << version;
    const cConnection* w = ws->wires.head()->data;
    EXPECT_TRUE(w->isComplete());
    EXPECT_EQ(w->targetPin, 1);
    EXPECT_EQ(w->knots.count(), 0);
    EXPECT_FALSE(w->locked);
  }
  // A version-4 body read as version 2 counts only its first 12 bytes.
  const auto image = cImageBuilder(2)
                         .gadget("MiCo", 0xFF000001, 10, 10)
                         .gadget("AndG", 0xFF000002, 100, 100)
                         .wire(0xFF000001, 0, 0xFF000002, 0, {{5, 5}}, true)
                         .bytes();
  load(image);
  EXPECT_EQ(ws->wires.head()->data->knots.count(), 0);
  EXPECT_FALSE(ws->wires.head()->data->locked);
}

TEST_F(InventionTest, DamagedChunksAreSkippedNotReadPastTheirEnd) {
  cReadReport report;
  const auto image = cImageBuilder()
                         .gadget("MiCo", 0xFF000001, 10, 10)
                         .gadget("AndG", 0xFF000002, 100, 100, 200)  // short gadget record
                         .gadget("AndG", 0xFF000003, 100, 200)
                         .wire(0xFF000001, 0, 0xFF000003, 0, {{1, 1}, {2, 2}})
                         .chunk("conn", std::vector<uint8_t>(14, 0))  // shorter than 16
                         .chunk("conn", [] {  // claims 3 knots, holds 1
                           std::vector<uint8_t> b(20, 0);
                           b[15] = 3;
                           return b;
                         }())
                         .chunk("xyzw", {1, 2, 3})  // no kind
                         .chunk("Pend", std::vector<uint8_t>(336, 0))  // a kind not built
                         .bytes();
  ASSERT_EQ(load(image, true, &report), image.size());
  EXPECT_EQ(countGadgets(), 2);
  EXPECT_EQ(ws->wires.count(), 1);
  EXPECT_EQ(report.gadgets, 2);
  EXPECT_EQ(report.wires, 1);
  EXPECT_TRUE(report.has(cReadNote::gadgetTooShort));
  EXPECT_TRUE(report.has(cReadNote::wireTooShort));
  EXPECT_TRUE(report.has(cReadNote::unknownKind));
  EXPECT_TRUE(report.has(cReadNote::kindNotAvailable));
}

TEST_F(InventionTest, AChunkRunningPastTheEndEndsTheRead) {
  auto image = cImageBuilder().gadget("MiCo", 0xFF000001, 10, 10).gadget("MiCo", 0xFF000002, 50, 50).bytes();
  image.resize(image.size() - 1);
  cReadReport report;
  const size_t consumed = load(image, false, &report);
  EXPECT_EQ(countGadgets(), 1) << "what was whole stays";
  EXPECT_EQ(consumed, 22u + 8 + 336);
  EXPECT_TRUE(report.has(cReadNote::chunkPastEnd));
  ASSERT_EQ(messages(), 1);
  EXPECT_EQ(lastMessage(), "Der opstod en fejl under læsning af filen.");

  // A length so large that offset + length wraps is no way around the check.
  auto huge = cImageBuilder().gadget("MiCo", 0xFF000001, 10, 10).bytes();
  byteio::putU32BE(&huge[22 + 4], 0xFFFFFFF8u);
  load(huge);
  EXPECT_EQ(countGadgets(), 0);
}

TEST_F(InventionTest, WireEndsThatNameNoFreePinStayLoose) {
  cReadReport report;
  const auto image = cImageBuilder()
                         .gadget("MiCo", 0xFF000001, 10, 10)
                         .gadget("AndG", 0xFF000002, 100, 100)
                         .wire(0xFF000009, 0, 0xFF000002, 0)  // no such gadget
                         .wire(0xFF000001, 0, 0xFF000002, 7)  // no such pin
                         .wire(0xFF000001, 0, 0xFF000002, 1)  // the output pin is taken now
                         .bytes();
  load(image, true, &report);
  ASSERT_EQ(ws->wires.count(), 3);
  const cConnection* w1 = ws->wires.tail()->data;
  EXPECT_EQ(w1->source, nullptr);
  EXPECT_EQ(w1->target, gadgetAt(0));
  const cConnection* w2 = ws->wires.tail()->previous->data;
  EXPECT_NE(w2->source, nullptr);
  EXPECT_EQ(w2->target, nullptr);
  const cConnection* w3 = ws->wires.head()->data;
  EXPECT_EQ(w3->source, nullptr) << "a pin holds one wire";
  EXPECT_EQ(gadgetAt(1)->wireAt(0), w2);
  EXPECT_TRUE(report.has(cReadNote::wireEndMissing));
  EXPECT_TRUE(report.has(cReadNote::wirePinInvalid));
  // The loose ends are drawn at the end that is there, not at the corner.
  EXPECT_EQ(w1->sourcePoint(), w1->targetPoint());
  EXPECT_EQ(w2->targetPoint(), w2->sourcePoint());
  EXPECT_TRUE(report.has(cReadNote::wirePinTaken));

  // Each wire holds on to some gadget, so removing the gadgets takes them all.
  ws->removeGadget(gadgetAt(0));
  ws->removeGadget(gadgetAt(0));
  EXPECT_EQ(ws->wires.count(), 0);
  EXPECT_EQ(save().size(), 32u);
}

TEST_F(InventionTest, AKeyThatOccursTwiceNamesTheFirstGadget) {
  const auto image = cImageBuilder()
                         .gadget("MiCo", 0xFF000001, 10, 10)
                         .gadget("MiCo", 0xFF000001, 50, 50)
                         .gadget("AndG", 0xFF000002, 100, 100)
                         .wire(0xFF000001, 0, 0xFF000002, 0)
                         .bytes();
  cReadReport report;
  load(image, true, &report);
  EXPECT_TRUE(report.has(cReadNote::duplicateKey));
  const cGadget* first = ws->gadgets.tail()->data;
  EXPECT_EQ(first->position, cPoint(10, 10));
  EXPECT_EQ(ws->wires.head()->data->source, first);

  // Saving gives the second one a key of its own, so the wire stays with the first.
  const auto again = save();
  load(again);
  EXPECT_NE(gadgetAt(0)->id, gadgetAt(1)->id);
  EXPECT_EQ(ws->wires.head()->data->source->position, cPoint(10, 10));
}

TEST_F(InventionTest, MemoryRunningOutEmptiesTheWorksheetAndSaysSo) {
  const auto image = cImageBuilder()
                         .gadget("MiCo", 0xFF000001, 10, 10)
                         .gadget("MiCo", 0xFF000002, 50, 50)
                         .gadget("MiCo", 0xFF000003, 90, 90)
                         .bytes();
  add("AndG"_tc, {100, 100});
  setMemoryProbeLimit({-1, 2});  // the third chunk's check fails
  cReadReport report;
  EXPECT_EQ(readInvention(*ws, image, false, &report), 0u);
  EXPECT_EQ(countGadgets(), 0) << "no half-built invention";
  EXPECT_EQ(lastMessage(), "Der er for lidt hukommelse til at udføre handlingen");
  EXPECT_TRUE(report.has(cReadNote::outOfMemory));

  // The check asks for the undo snapshot's size plus 63000 bytes.
  setMemoryProbeLimit({62999 + 32, -1});
  undoStore().snapshot(*ws);  // 32 bytes
  EXPECT_EQ(readInvention(*ws, image, true), 0u);
  setMemoryProbeLimit({63000 + 32, -1});
  EXPECT_EQ(readInvention(*ws, image, true), image.size());
}

TEST_F(InventionTest, BackgroundsAndLimitsFromTheFile) {
  std::vector<uint8_t> numG = {0, 3, 'A', 'n', 'd', 'G', 0, 5, 'x', 'x', 'x', 'x', 0, 1, 'M', 'i', 'C', 'o', 0, 0};
  const auto image = cImageBuilder().chunk("back", {0x02, 0xBC}).chunk("numG", numG).bytes();
  load(image);
  EXPECT_EQ(ws->backgroundNumber(), kBackgroundSand);
  EXPECT_EQ(ws->limits.limit(kindByCode("AndG"_tc)->number), 5);
  EXPECT_EQ(ws->limits.limit(kindByCode("MiCo"_tc)->number), 0);
  EXPECT_EQ(ws->limits.limitCount(), 2);

  // A background no background has reads as none rather than asking for a missing picture.
  cReadReport report;
  load(cImageBuilder().chunk("back", {0x01, 0x00}).bytes(), true, &report);
  EXPECT_EQ(ws->backgroundNumber(), kBackgroundNone);
  EXPECT_TRUE(report.has(cReadNote::badBackground));

  // Limits are written in the order of the tray's drawers: drawer 4 before 7.
  ws->limits.setLimit(kindByCode("Stop"_tc)->number, 1);
  ws->limits.setLimit(kindByCode("AndG"_tc)->number, 1);
  ws->limits.setLimit(kindByCode("MiCo"_tc)->number, 1);
  const auto chunks = chunksOf(save());
  const auto& body = chunks.back().body;
  ASSERT_EQ(chunks.back().id, "numG");
  ASSERT_EQ(body.size(), 2u + 3 * 6);
  EXPECT_EQ(std::string(body.begin() + 2, body.begin() + 6), "MiCo");
  EXPECT_EQ(std::string(body.begin() + 8, body.begin() + 12), "AndG");
  EXPECT_EQ(std::string(body.begin() + 14, body.begin() + 18), "Stop");
}

TEST_F(InventionTest, LettersCountInTypeCodes) {
  const auto image = cImageBuilder().gadget("mico", 0xFF000001, 10, 10).gadget("MICO", 0xFF000002, 10, 10).bytes();
  load(image);
  EXPECT_EQ(countGadgets(), 0);
}

TEST_F(InventionTest, ALooseEndWithKnotsIsDrawnAtTheNearestKnot) {
  const auto image = cImageBuilder()
                         .gadget("AndG", 0xFF000002, 100, 100)
                         .wire(0xFF000009, 0, 0xFF000002, 0, {{20, 30}, {40, 50}})
                         .bytes();
  load(image);
  const cConnection* w = ws->wires.head()->data;
  EXPECT_EQ(w->sourcePoint(), cPoint(20, 30));
}

TEST_F(InventionTest, TheExampleReadsAndWritesToTheSameChunks) {
  std::ifstream in(ZANBEL_EXAMPLE_SOURCE);
  std::stringstream text;
  text << in.rdbuf();
  const cInventionTextResult example = compileInventionText(text.str());
  ASSERT_TRUE(example.ok()) << example.error;
  ASSERT_EQ(example.image.size(), 5100u);
  enterEveryKind();
  cReadReport report;
  ASSERT_EQ(load(example.image, true, &report), 5100u);
  EXPECT_EQ(report.gadgets, 14);
  EXPECT_EQ(report.wires, 10);
  EXPECT_TRUE(report.notes.empty());
  EXPECT_EQ(ws->backgroundNumber(), kBackgroundSteel);

  const std::vector<uint8_t> again = save();
  ASSERT_EQ(again.size(), 5100u);
  const auto before = chunksOf(example.image), after = chunksOf(again);
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(before[i].id, after[i].id) << i;
    // The example's keys are kept; the reserved tail of a gadget is zero both times.
    EXPECT_EQ(before[i].body, after[i].body) << "chunk " << i << " " << before[i].id;
  }
}
