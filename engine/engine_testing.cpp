#include "engine/engine_testing.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace enginetest {

namespace {

struct cKindSpec {
  cTypeCode code;
  uint16_t pinTableId;
  cRect bounds;
};

const cKindSpec kSpecs[] = {
    {"MiCo"_tc, 1063, {0, 0, 20, 30}},
    {"AndG"_tc, 1029, {0, 0, 46, 80}},
    {"Stop"_tc, 1051, {0, 0, 30, 40}},
    {"Tape"_tc, 1037, {0, 0, 30, 40}},
    {"Coin"_tc, 1006, {0, 0, 30, 40}},
    {"Stk1"_tc, 0, {0, 0, 12, 12}},
};

constexpr uint16_t kManyPins = 9999;

cKindSpec specOf(cTypeCode code) {
  for (const cKindSpec& s : kSpecs)
    if (s.code == code) return s;
  return {code, kManyPins, {0, 0, 30, 40}};
}

template <int N>
class cTestKindNumber : public cTestKind {
 public:
  explicit cTestKindNumber(cPoint p) : cTestKind(kindByNumber(N)->typeCode, p) {}
  explicit cTestKindNumber(const cGadgetRecord& r) : cTestKind(kindByNumber(N)->typeCode, r) {}
};

template <int... N>
void enterKinds(std::integer_sequence<int, N...>) {
  cGadgetFactory& f = gadgetFactory();
  ((f.knows(kindByNumber(N + 1)->typeCode) ? void() : void(f.add<cTestKindNumber<N + 1>>(kindByNumber(N + 1)->typeCode))),
   ...);
}

}  // namespace

std::optional<std::span<const uint8_t>> cSoundLog::find(uint16_t type, uint16_t id) {
  // Any sound is a short click: a WAV header and eight samples.
  static const std::vector<uint8_t> click = [] {
    std::vector<uint8_t> s = waveHeader(8);
    for (int i = 0; i < 8; ++i) s.push_back(i % 2 ? 200 : 56);
    return s;
  }();
  if (type != kSoundResourceType) return cMemoryResourceModule::find(type, id);
  asked.push_back(id);
  return std::span<const uint8_t>(click);
}

void enterEveryKind() { enterKinds(std::make_integer_sequence<int, kKindCount>()); }

bool cSoundLog::played(uint16_t id) const {
  return std::find(asked.begin(), asked.end(), id) != asked.end();
}

cTestKind::cTestKind(cTypeCode code, cPoint drop) {
  kind(code);
  centreOn(drop);
  invalidate();
}

cTestKind::cTestKind(cTypeCode code, const cGadgetRecord& record) : cGadget(record) {
  kind(code);
  invalidate();
}

void cTestKind::kind(cTypeCode code) {
  typeCode = code;
  const cKindSpec s = specOf(code);
  bounds = s.bounds;
  textNumber = static_cast<int16_t>(kindByCode(code)->textNumber);
  if (s.pinTableId) loadPins(s.pinTableId);
}

void cTestKind::draw(CWinGDib& surface, const cRect& clip) {
  const cRect r = worksheetRect() & clip & surface.bounds();
  for (int y = r.top; y < r.bottom; ++y)
    std::memset(surface.pixelAddress(r.left, y), colour, static_cast<size_t>(r.width()));
  if (inputError) drawErrorMarker(surface, clip);
}

bool cTestKind::hasBoolOutput(int pin) {
  return (typeCode == "AndG"_tc && pin == 2) || (typeCode == "Coin"_tc && pin == 0);
}
bool cTestKind::hasNumberOutput(int pin) { return typeCode == "MiCo"_tc && pin == 0; }
bool cTestKind::hasSoundOutput(int pin) { return typeCode == "Tape"_tc && pin == 0; }

void cTestKind::step() {
  if (typeCode == "AndG"_tc) {
    const double a = inputValue(0), b = inputValue(1);
    const bool changed = inputChanged(0);
    const bool s0 = takeSignal(0), s1 = takeSignal(1);
    seen.push_back({a, changed, s0});
    boolOut = a != 0.0 || b != 0.0;
    if (s0 || s1) signalPin(2);
  } else if (typeCode == "Stop"_tc) {
    seen.push_back({inputValue(0), false, false});
    if (inputValue(0) != 0.0) stopRun();
  }
}

void EngineTest::SetUp() {
  setMode(cMode::editing);
  hp.virtualClock().set(100000);
  setFatalExitHandler([](const char* m) { ADD_FAILURE() << "fatal exit: " << (m ? m : ""); throw 0; });

  auto own = std::make_unique<cMemoryResourceModule>("zanbel");
  for (const auto& [block, bytes] : makeStringTable({{8003, "Der opstod en fejl under læsning af filen."},
                                                     {8007, "Denne fil er ikke gemt i Zanbel"},
                                                     {8010, "Der er for lidt hukommelse til at udføre handlingen"}}))
    own->add(kStringResourceType, block, bytes);
  own->add(1006, 1, {0x80, 0x80, 0x80, 0x80});

  auto gadgets = std::make_unique<cMemoryResourceModule>("ZBGADGET.DLL");
  gadgets->add(1014, 1063, pinTable({{10, 29, kPinOutput}}));
  gadgets->add(1014, 1029, pinTable({{15, 4, kPinInput}, {31, 4, kPinInput}, {23, 75, kPinOutput}}));
  gadgets->add(1014, 1051, pinTable({{15, 4, kPinInput}}));
  gadgets->add(1014, 1037, pinTable({{15, 36, kPinOutput}}));
  gadgets->add(1014, 1006, pinTable({{15, 36, kPinOutput}}));
  std::vector<cPinSpec> many;
  for (int i = 0; i < 22; ++i) many.push_back({2 + i, i % 2 ? 38 : 2, i % 2 ? kPinOutput : kPinInput});
  gadgets->add(1014, kManyPins, pinTable(many));
  gadgets->add(1004, kLockMarkerArtwork, frameSet({{cRect(0, 0, 8, 6), kLockIndex}}));
  gadgets->add(1004, kErrorMarkerArtwork,
               frameSet({{cRect(0, 0, 16, 16), kBigErrorIndex}, {cRect(0, 0, 6, 6), kSmallErrorIndex}}));
  // The border: 6 x 6 corners, 10 x 2 and 2 x 10 edge pieces; patterns of 8 x 8.
  gadgets->add(1004, 704,
               frameSet({{cRect(0, 0, 6, 6), kBorderIndex}, {cRect(0, 0, 2, 10), kBorderIndex},
                         {cRect(0, 0, 6, 6), kBorderIndex}, {cRect(0, 0, 10, 2), kBorderIndex},
                         {cRect(0, 0, 6, 6), kBorderIndex}, {cRect(0, 0, 2, 10), kBorderIndex},
                         {cRect(0, 0, 6, 6), kBorderIndex}, {cRect(0, 0, 10, 2), kBorderIndex}}));
  for (uint16_t pattern : {700, 701, 702})
    gadgets->add(1004, pattern,
                 frameSet({{cRect(0, 0, 8, 8), int16_t(pattern - 700 + kPatternIndex)},
                           {cRect(0, 0, 8, 8), int16_t(pattern - 700 + kPatternIndex + 3)}}));
  resourceLibraries().setOwn(std::move(own));
  resourceLibraries().setGadgetLibrary(std::move(gadgets));
  auto log = std::make_unique<cSoundLog>();
  sounds = log.get();
  resourceLibraries().setSoundLibrary(std::move(log));
  soundEngine = std::make_unique<cSoundEngine>();
  soundOutput = std::make_unique<cSoundOut>(*soundEngine);

  cGadgetFactory& f = gadgetFactory();
  f.clear();
  f.add<cTestKindOf<'M', 'i', 'C', 'o'>>("MiCo"_tc);
  f.add<cTestKindOf<'A', 'n', 'd', 'G'>>("AndG"_tc);
  f.add<cTestKindOf<'S', 't', 'o', 'p'>>("Stop"_tc);
  f.add<cTestKindOf<'T', 'a', 'p', 'e'>>("Tape"_tc);
  f.add<cTestKindOf<'C', 'o', 'i', 'n'>>("Coin"_tc);
  f.add<cTestKindOf<'S', 't', 'k', '1'>>("Stk1"_tc);

  undoStore().clear();
  setMemoryProbeLimit({});
  surface = std::make_unique<CWinGDib>(kWorksheetWidth, kWorksheetHeight, +1);
  ws = std::make_unique<cWorksheetPane>(surface.get());
}

void EngineTest::TearDown() {
  ws.reset();
  surface.reset();
  soundOutput.reset();
  soundEngine.reset();
  setMode(cMode::editing);
  gadgetFactory().clear();
  gadgetFactory().setRecordsOnly(false);
  undoStore().clear();
  setMemoryProbeLimit({});
  cGadget::releaseSharedPictures();
  resourceLibraries().release();
  setFatalExitHandler(nullptr);
}

cTestKind* EngineTest::add(cTypeCode code, cPoint at) {
  std::unique_ptr<cGadget> g = mNewGadget(ws.get(), code, at, {}, false);
  auto* t = static_cast<cTestKind*>(g.get());
  ws->addGadget(std::move(g));
  return t;
}

cConnection* EngineTest::wire(cGadget* a, int pa, cGadget* b, int pb, const std::vector<cPoint>& knots) {
  auto w = std::make_unique<cConnection>(a, uint16_t(pa), b, uint16_t(pb));
  for (cPoint k : knots) w->appendKnot(k);
  w->attachEnds();
  cConnection* p = w.get();
  ws->addWire(std::move(w));
  return p;
}

size_t EngineTest::load(const std::vector<uint8_t>& image, bool quiet, cReadReport* report) {
  ws->removeEverything();
  ws->limits.clear();
  return readInvention(*ws, image, quiet, report);
}

cTestKind* EngineTest::gadgetAt(int index) {
  auto* n = ws->gadgets.head();
  while (n && index-- > 0) n = n->next;
  return n ? static_cast<cTestKind*>(n->data) : nullptr;
}

// ---- images by hand ----

cImageBuilder::cImageBuilder(uint16_t version, bool withFver) : version_(version), withFver_(withFver) {}

cImageBuilder& cImageBuilder::chunk(const char* id, const std::vector<uint8_t>& body) {
  chunks_.insert(chunks_.end(), id, id + 4);
  uint8_t len[4];
  byteio::putU32BE(len, static_cast<uint32_t>(body.size()));
  chunks_.insert(chunks_.end(), len, len + 4);
  chunks_.insert(chunks_.end(), body.begin(), body.end());
  return *this;
}

cImageBuilder& cImageBuilder::gadget(const char* code, uint32_t key, int v, int h, size_t size) {
  std::vector<uint8_t> body(std::max<size_t>(size, 8), 0);
  byteio::putU32BE(body.data(), key);
  byteio::putU16BE(body.data() + 4, static_cast<uint16_t>(v));
  byteio::putU16BE(body.data() + 6, static_cast<uint16_t>(h));
  body.resize(size);
  return chunk(code, body);
}

cImageBuilder& cImageBuilder::wire(uint32_t from, int fromPin, uint32_t to, int toPin,
                                   const std::vector<cPoint>& knots, bool locked) {
  std::vector<uint8_t> body(16 + 4 * knots.size(), 0);
  byteio::putU32BE(&body[0], from);
  byteio::putU32BE(&body[4], to);
  byteio::putU16BE(&body[8], static_cast<uint16_t>(fromPin));
  byteio::putU16BE(&body[10], static_cast<uint16_t>(toPin));
  body[12] = locked ? 1 : 0;
  byteio::putU16BE(&body[14], static_cast<uint16_t>(knots.size()));
  for (size_t i = 0; i < knots.size(); ++i) {
    byteio::putU16BE(&body[16 + 4 * i], static_cast<uint16_t>(knots[i].v));
    byteio::putU16BE(&body[18 + 4 * i], static_cast<uint16_t>(knots[i].h));
  }
  return chunk("conn", body);
}

cImageBuilder& cImageBuilder::oldWire(uint32_t from, int fromPin, uint32_t to, int toPin) {
  std::vector<uint8_t> body(12, 0);
  byteio::putU32BE(&body[0], from);
  byteio::putU32BE(&body[4], to);
  byteio::putU16BE(&body[8], static_cast<uint16_t>(fromPin));
  byteio::putU16BE(&body[10], static_cast<uint16_t>(toPin));
  return chunk("conn", body);
}

std::vector<uint8_t> cImageBuilder::bytes() const {
  const uint8_t head[] = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'G', 'a', 'd', 'f',
                          'f', 'v', 'e', 'r', 0, 0, 0, 2, uint8_t(version_ >> 8), uint8_t(version_)};
  std::vector<uint8_t> out(head, head + (withFver_ ? sizeof head : 12));
  out.resize(out.size() + chunks_.size());
  std::copy(chunks_.begin(), chunks_.end(), out.end() - static_cast<ptrdiff_t>(chunks_.size()));
  byteio::putU32BE(&out[4], static_cast<uint32_t>(out.size() - 8));
  return out;
}

}  // namespace enginetest
