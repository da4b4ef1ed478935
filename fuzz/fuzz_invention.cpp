// Fuzzing the invention reader: any bytes are read into a worksheet without
// a crash, without reading past the image and without a leak; what was read
// writes out, reads back and writes out again to the same bytes; undo puts
// it back after everything was removed.
//
// The built kinds are made when ZBGADGET.DLL lies beside the fuzzer; codes
// of the table that no kind takes yet are given a small probe kind here, so
// that the gadget and wire paths are reached today.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "engine/factory.h"
#include "engine/invention.h"
#include "engine/memoryprobe.h"
#include "engine/undo.h"
#include "engine/worksheet.h"
#include "gadgets/registry.h"
#include "graphics/hrencoder.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"
#include "shell/core/byteio.h"
#include "shell/core/resourcemodule.h"

namespace {

// Pins of the probe kind: two inputs and two outputs.
std::vector<uint8_t> probePins() {
  std::vector<uint8_t> t(2 + 6 * 4);
  byteio::putU16LE(t.data(), 4);
  const int16_t pins[4][3] = {{5, 2, 0}, {15, 2, 0}, {5, 38, 1}, {15, 38, 1}};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 3; ++j) byteio::putU16LE(&t[size_t(2 + 6 * i + 2 * j)], uint16_t(pins[i][j]));
  return t;
}

class cProbe : public cGadget {
 public:
  cProbe(cTypeCode code, cPoint p) { init(code); centreOn(p); }
  cProbe(cTypeCode code, const cGadgetRecord& r) : cGadget(r) { init(code); }
  void draw(CWinGDib& surface, const cRect& clip) override {
    const cRect r = worksheetRect() & clip & surface.bounds();
    for (int y = r.top; y < r.bottom; ++y) std::memset(surface.pixelAddress(r.left, y), 9, size_t(r.width()));
  }
  bool hasNumberOutput(int pin) override { return pin >= 2; }
  void step() override { numberOut = inputValue(0) + inputValue(1); }

 private:
  void init(cTypeCode code) {
    typeCode = code;
    bounds = cRect(0, 0, 20, 40);
    static const std::vector<uint8_t> pins = probePins();
    setPinsFromTable(pins);
    invalidate();
  }
};

// The probe under the code of kind number N.
template <int N>
class cProbeOf : public cProbe {
 public:
  explicit cProbeOf(cPoint p) : cProbe(kindByNumber(N)->typeCode, p) {}
  explicit cProbeOf(const cGadgetRecord& r) : cProbe(kindByNumber(N)->typeCode, r) {}
};

template <int... N>
void addProbes(std::integer_sequence<int, N...>) {
  // Kind numbers run from 1; the sequence from 0.
  ((gadgetFactory().knows(kindByNumber(N + 1)->typeCode)
        ? void()
        : void(gadgetFactory().add<cProbeOf<N + 1>>(kindByNumber(N + 1)->typeCode))),
   ...);
}

// The built library when it is there, and what the fuzzer needs besides.
class cFuzzModule : public cResourceModule {
 public:
  explicit cFuzzModule(std::unique_ptr<cResourceModule> built) : built_(std::move(built)) {
    auto set = [&](uint16_t id, std::vector<cRect> rects) {
      std::vector<cFramePicture> frames;
      for (const cRect& r : rects) {
        cFramePicture f;
        f.rect = r;
        f.pixels.assign(size_t(r.width() * r.height()), 5);
        frames.push_back(f);
      }
      extra_.add(1004, id, encodeFrameSet(frames).bytes);
    };
    set(101, {cRect(0, 0, 16, 16), cRect(0, 0, 6, 6)});
    set(800, {cRect(0, 0, 8, 8)});
    set(704, std::vector<cRect>(8, cRect(0, 0, 4, 4)));
    for (uint16_t p : {700, 701, 702}) set(p, {cRect(0, 0, 8, 8), cRect(0, 0, 8, 8)});
  }
  const std::string& name() const override { return name_; }
  std::optional<std::span<const uint8_t>> find(uint16_t type, uint16_t id) override {
    if (built_)
      if (auto r = built_->find(type, id)) return r;
    return extra_.find(type, id);
  }

 private:
  std::string name_ = kGadgetLibraryName;
  std::unique_ptr<cResourceModule> built_;
  cMemoryResourceModule extra_;
};

struct cSetup {
  cHeadlessPlatform platform;
  std::unique_ptr<CWinGDib> surface;
  std::unique_ptr<cWorksheetPane> worksheet;

  cSetup() {
    const std::string folder = folderOf(runningProgramPath());
    std::unique_ptr<cResourceModule> built = cFileResourceModule::open(folder + "/" + kGadgetLibraryName);
    if (built) installGadgetKinds();
    resourceLibraries().setGadgetLibrary(std::make_unique<cFuzzModule>(std::move(built)));
    resourceLibraries().setOwn(std::make_unique<cMemoryResourceModule>("fuzz"));
    // A resource that is missing anyhow ends the run instead of asking.
    setFatalExitHandler([](const char* m) {
      std::fprintf(stderr, "fatal exit: %s\n", m ? m : "");
      std::abort();
    });
    addProbes(std::make_integer_sequence<int, kKindCount>());
    surface = std::make_unique<CWinGDib>(200, 150, +1);
    worksheet = std::make_unique<cWorksheetPane>(surface.get());
    worksheet->setSize(200, 150);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static cSetup* setup = new cSetup;
  cWorksheetPane& ws = *setup->worksheet;
  ws.removeEverything();
  ws.limits.clear();
  undoStore().clear();
  // A copy of exactly the input's size, so that a read past it is seen.
  std::vector<uint8_t> image(data, data + size);
  readInvention(ws, image, true);

  const std::vector<uint8_t> first = writeInvention(ws);
  if (first.size() != inventionSize(ws)) std::abort();
  ws.redrawAll();

  ws.removeEverything();
  ws.limits.clear();
  if (readInvention(ws, first, true) == 0) std::abort();
  if (writeInvention(ws) != first) std::abort();

  undoStore().snapshot(ws);
  ws.removeEverything();
  ws.undo();
  if (writeInvention(ws) != first) std::abort();
  return 0;
}
