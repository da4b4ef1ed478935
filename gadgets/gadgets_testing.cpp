#include "gadgets/gadgets_testing.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "export/resfile.h"
#include "gadgets/registry.h"
#include "tools/invention/inventiontext.h"

namespace gadgettest {

namespace {

const std::vector<cResEntry>& artworkEntries() {
  static const std::vector<cResEntry> entries = [] {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!loadFileBytes(ZANBEL_ARTWORK_RES, bytes, error)) ADD_FAILURE() << error;
    return readResFile(bytes).entries;
  }();
  return entries;
}

// The fixture kinds' pins: the source's output and the probe's input.
const uint8_t kSourcePins[] = {1, 0, 20, 0, 60, 0, 1, 0};
const uint8_t kProbePins[] = {1, 0, 20, 0, 0, 0, 0, 0};

}  // namespace

std::unique_ptr<cAskedModule> builtArtwork() {
  auto m = std::make_unique<cAskedModule>("ZBGADGET.DLL");
  for (const cResEntry& e : artworkEntries()) m->add(e.type, e.name, e.data);
  return m;
}

// ---- modules ----

std::optional<std::span<const uint8_t>> cAskedModule::find(uint16_t type, uint16_t id) {
  asked_.emplace_back(type, id);
  return cMemoryResourceModule::find(type, id);
}

int cAskedModule::asked(uint16_t type, uint16_t id) const {
  return static_cast<int>(std::count(asked_.begin(), asked_.end(), std::pair{type, id}));
}

std::optional<std::span<const uint8_t>> cSoundLibrary::find(uint16_t type, uint16_t id) {
  static const std::vector<uint8_t> click = [] {
    std::vector<uint8_t> s = waveHeader(8);
    for (int i = 0; i < 8; ++i) s.push_back(i % 2 ? 200 : 56);
    return s;
  }();
  cAskedModule::find(type, id);
  if (type != kSoundResourceType) return std::nullopt;
  return std::span<const uint8_t>(click);
}

// ---- fixture kinds ----

cFixtureKind::cFixtureKind(cTypeCode code, int16_t direction, uint8_t colour) : colour_(colour) {
  kind(code, direction);
}

cFixtureKind::cFixtureKind(cTypeCode code, int16_t direction, uint8_t colour, const cGadgetRecord& record)
    : cGadget(record), colour_(colour) {
  kind(code, direction);
}

void cFixtureKind::kind(cTypeCode code, int16_t direction) {
  typeCode = code;
  bounds = cRect(0, 0, 40, 64);
  setPinsFromTable(direction == kPinOutput ? std::span<const uint8_t>(kSourcePins) : kProbePins);
}

void cFixtureKind::draw(CWinGDib& surface, const cRect& clip) {
  const cRect r = worksheetRect() & clip & surface.bounds();
  for (int y = r.top; y < r.bottom; ++y)
    std::memset(surface.pixelAddress(r.left, y), colour_, static_cast<size_t>(r.width()));
}

cTestSource::cTestSource(cPoint dropPoint) : cFixtureKind(kCode, kPinOutput, 28) { centreOn(dropPoint); }

cTestSource::cTestSource(const cGadgetRecord& record) : cFixtureKind(kCode, kPinOutput, 28, record) {
  value = std::strtod(settings.text(0), nullptr);
}

void cTestSource::set(double x) {
  value = x;
  std::snprintf(settings.text(0), kTextLength, "%.17g", x);
}

cTestProbe::cTestProbe(cPoint dropPoint) : cFixtureKind(kCode, kPinInput, 29) { centreOn(dropPoint); }
cTestProbe::cTestProbe(const cGadgetRecord& record) : cFixtureKind(kCode, kPinInput, 29, record) {}

void cTestProbe::step() {
  value = inputValue(0);
  if (takeSignal(0)) {
    ++signals;
    signalTicks.push_back(runClock());
  }
}

void cTestProbe::reset() {
  cGadget::reset();
  signals = 0;
  signalTicks.clear();
}

// ---- the fixture ----

void GadgetTest::SetUp() {
  setMode(cMode::editing);
  hp.virtualClock().set(100000);
  setFatalExitHandler([](const char* m) {
    ADD_FAILURE() << "fatal exit: " << (m ? m : "");
    throw 0;
  });

  resourceLibraries().setOwn(std::make_unique<cMemoryResourceModule>("zanbel"));
  auto art = builtArtwork();
  artwork = art.get();
  resourceLibraries().setGadgetLibrary(std::move(art));
  auto snd = std::make_unique<cSoundLibrary>();
  sounds = snd.get();
  resourceLibraries().setSoundLibrary(std::move(snd));
  soundEngine = std::make_unique<cSoundEngine>();
  soundOutput = std::make_unique<cSoundOut>(*soundEngine);

  cGadgetFactory& f = gadgetFactory();
  f.clear();
  registerGadgetKinds(f);
  f.add<cTestSource>(cTestSource::kCode);
  f.add<cTestProbe>(cTestProbe::kCode);

  runner = std::make_unique<cInventionRunner>(hp);
  ws = &runner->worksheet();
}

void GadgetTest::TearDown() {
  runner.reset();
  ws = nullptr;
  soundOutput.reset();
  soundEngine.reset();
  setMode(cMode::editing);
  gadgetFactory().clear();
  cGadget::releaseSharedPictures();
  resourceLibraries().release();
  setFatalExitHandler(nullptr);
}

cGadget* GadgetTest::place(cTypeCode code) {
  // A grid of 5 x 4 places, 135 by 120 pixels, inside the worksheet's border.
  const int n = placed_++ % 20;
  const cPoint at(75 + (n / 5) * 120, 85 + (n % 5) * 135);
  std::unique_ptr<cGadget> g = mNewGadget(ws, code, at, {}, false);
  cGadget* p = g.get();
  EXPECT_NE(p, nullptr) << "the factory cannot make " << typeCodeText(code);
  if (p) ws->addGadget(std::move(g));
  return p;
}

cTestSource* GadgetTest::source(double value) {
  auto* s = place<cTestSource>(cTestSource::kCode);
  s->set(value);
  return s;
}

cTestProbe* GadgetTest::probe() { return place<cTestProbe>(cTestProbe::kCode); }

cConnection* GadgetTest::wire(cGadget* from, int outputPin, cGadget* to, int inputPin) {
  auto w = std::make_unique<cConnection>(from, uint16_t(outputPin), to, uint16_t(inputPin));
  w->attachEnds();
  cConnection* p = w.get();
  ws->addWire(std::move(w));
  return p;
}

cRig GadgetTest::rig(cTypeCode kind, const std::vector<std::optional<double>>& inputs,
                     const std::function<void(cGadget&)>& setUp) {
  cRig r;
  r.gadget = place(kind);
  if (!r.gadget) return r;
  if (setUp) setUp(*r.gadget);
  for (size_t i = 0; i < inputs.size() && i < 2; ++i) {
    if (!inputs[i]) continue;
    r.in[i] = source(*inputs[i]);
    wire(r.in[i], 0, r.gadget, static_cast<int>(i));
  }
  r.out = probe();
  wire(r.gadget, r.gadget->pinCount - 1, r.out, 0);
  const uint32_t keys[] = {r.gadget->id, r.in[0] ? r.in[0]->id : 0, r.in[1] ? r.in[1]->id : 0, r.out->id};
  reloadImage();
  r.gadget = ws->gadgetByKey(keys[0]);
  for (int i = 0; i < 2; ++i) r.in[i] = keys[1 + i] ? dynamic_cast<cTestSource*>(ws->gadgetByKey(keys[1 + i])) : nullptr;
  r.out = dynamic_cast<cTestProbe*>(ws->gadgetByKey(keys[3]));
  return r;
}

void GadgetTest::reloadImage() {
  const std::vector<uint8_t> image = writeInvention(*ws);
  cReadReport report;
  EXPECT_TRUE(runner->load(image, &report));
  for (const cReadNote& n : report.notes)
    ADD_FAILURE() << "the reader skipped part of the invention: note " << int(n.kind) << " at " << n.offset;
}

std::vector<uint8_t> inventionFromText(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!loadFileBytes(path, bytes, error)) {
    ADD_FAILURE() << error;
    return {};
  }
  const cInventionTextResult r = compileInventionText(std::string(bytes.begin(), bytes.end()));
  if (!r.ok()) ADD_FAILURE() << path << ": " << r.error;
  return r.image;
}

void GadgetTest::loadText(const std::string& name) {
  const std::vector<uint8_t> image = inventionFromText(std::string(ZANBEL_TESTDATA_DIR) + "/gadgets/" + name + ".txt");
  cReadReport report;
  ASSERT_TRUE(runner->load(image, &report));
  for (const cReadNote& n : report.notes) ADD_FAILURE() << name << ": " << describeReadNote(n);
}

cPinValue GadgetTest::valueOf(uint32_t key, int pin) {
  for (const cPinValue& v : runner->values())
    if (v.key == key && v.pin == pin) return v;
  ADD_FAILURE() << "no output pin " << pin << " on gadget " << std::hex << key;
  return {};
}

void GadgetTest::cycle(uint32_t ms) {
  hp.virtualClock().advance(ms);
  runCycle();
}

void GadgetTest::runFor(uint32_t ms) {
  if (isEditing()) startRun();
  for (uint32_t t = 0; t < ms; t += 5) cycle(5);
}

}  // namespace gadgettest
