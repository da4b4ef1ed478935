#include "dialogs/dialogs_testing.h"

#include <cstring>

#include "dialogs/combotexts.h"
#include "graphics/hrencoder.h"
#include "shell/core/byteio.h"

namespace dialogtest {

std::vector<cResEntry> builtResources(const std::string& fileName) {
  std::vector<uint8_t> bytes;
  std::string error;
  const std::string path = std::string(ZANBEL_DIALOG_BUILD_DIR) + "/" + fileName;
  if (!loadFileBytes(path, bytes, error)) {
    ADD_FAILURE() << path << ": " << error;
    return {};
  }
  cResReadResult r = readResFile(bytes);
  EXPECT_TRUE(r.ok()) << r.error;
  return r.entries;
}

std::map<uint16_t, cDialogTemplate> builtTemplates(const std::string& fileName) {
  std::map<uint16_t, cDialogTemplate> out;
  for (const cResEntry& e : builtResources(fileName)) {
    if (e.type != kDialogResourceType) continue;
    const auto t = parseDialogTemplate(e.data);
    EXPECT_TRUE(t.has_value()) << "dialog " << e.name;
    if (t) out[e.name] = *t;
  }
  return out;
}

namespace {

std::vector<uint8_t> frames(const std::vector<std::pair<cRect, uint8_t>>& list) {
  std::vector<cFramePicture> pictures;
  for (const auto& [rect, index] : list) {
    cFramePicture p;
    p.rect = rect;
    p.pixels.assign(static_cast<size_t>(rect.width() * rect.height()), index);
    pictures.push_back(p);
  }
  return encodeFrameSet(pictures).bytes;
}

std::vector<uint8_t> words(std::initializer_list<int> values) {
  std::vector<uint8_t> out(values.size() * 2);
  size_t i = 0;
  for (int v : values) byteio::putU16LE(&out[2 * i++], static_cast<uint16_t>(v));
  return out;
}

std::vector<uint8_t> zeroTerminated(const std::string& text) {
  std::vector<uint8_t> out(text.begin(), text.end());
  out.push_back(0);
  return out;
}

}  // namespace

int cRecordingGadget::previews = 0;
int cRecordingGadget::hookRuns = 0;

cRecordingGadget::cRecordingGadget(int16_t number) {
  textNumber = number;
  bounds = cRect(0, 0, 20, 40);
  // Pin 0 in at the left edge, 1 in on the top edge, 2 out at the right edge.
  setPinsFromTable(words({3, 10, 1, kPinInput, 1, 20, kPinInput, 10, 39, kPinOutput}));
  previewCallback = countingPreview;
}

void cRecordingGadget::draw(CWinGDib& surface, const cRect& clip) {
  const cRect r = worksheetRect() & clip & surface.bounds();
  for (int y = r.top; y < r.bottom; ++y)
    std::memset(surface.pixelAddress(r.left, y), kGadgetIndex, static_cast<size_t>(r.width()));
}

void cRecordingGadget::loadDialog(cGadgetDialog& dialog) {
  ++loads;
  cGadget::loadDialog(dialog);
}

void cRecordingGadget::saveDialog(cGadgetDialog& dialog) {
  ++saves;
  cGadget::saveDialog(dialog);
}

void cRecordingGadget::settingsChanged(cGadgetDialog&) { ++changes; }

void cRecordingGadget::countingPreview(cGadgetDialog& dialog, cGadget& gadget) {
  ++previews;
  basePreview(dialog, gadget);
}

void cRecordingGadget::countingHook(cGadgetDialog&, cGadget&) { ++hookRuns; }

std::unique_ptr<cMemoryResourceModule> fixtureArtwork() {
  auto art = std::make_unique<cMemoryResourceModule>("ZBGADGET.DLL");
  art->add(1004, 504,
           frames({{cRect(-6, -13, 7, 1), kArrowIndex}, {cRect(-6, 0, 7, 14), kArrowIndex},
                   {cRect(0, 0, 17, 16), kBulbIndex}}));
  art->add(1004, 505,
           frames({{cRect(0, 0, 24, 28), kToggleIndex}, {cRect(0, 0, 24, 28), uint8_t(kToggleIndex + 1)},
                   {cRect(0, 0, 24, 28), uint8_t(kToggleIndex + 2)},
                   {cRect(0, 0, 24, 28), uint8_t(kToggleIndex + 3)}}));
  art->add(1004, 1234, frames({{cRect(0, 0, 10, 10), kPictureIndex}}));
  art->add(kPointResourceType, 1, words({10, 124}));
  art->add(kHelpLinkResourceType, 3001, words({3001, 0, 3001, 5001}));
  art->add(kHelpTextResourceType, 3001, zeroTerminated("Pr\xf8vedelen g\xf8r ingenting."));
  art->add(kHelpTextResourceType, 5001, zeroTerminated("Et godt r\xe5""d."));
  return art;
}

void DialogTest::SetUp() {
  setFatalExitHandler([this](const char* m) {
    ++fatalExits;
    ADD_FAILURE() << "fatal exit: " << (m ? m : "")
                  << (hp.scriptedUi().messages().empty() ? "" : hp.scriptedUi().messages().back().request.text);
    throw 0;
  });
  cRecordingGadget::previews = 0;
  cRecordingGadget::hookRuns = 0;

  auto ownModule = std::make_unique<cMemoryResourceModule>("zanbel");
  for (const cResEntry& e : builtResources("fixture.rc.res")) ownModule->add(e.type, e.name, e.data);
  ownModule->add(kComboTextResourceType, 3001,
                 comboTextBytes({{140, kMessageAddComboString, "Jorden"},
                                 {140, kMessageAddComboString, "M\xe5nen"},
                                 {141, kMessageAddComboString, "Hund"},
                                 {105, kMessageAddComboString, "ikke en liste"},
                                 {141, kMessageAddComboString, "Kat"}}));
  templates = builtTemplates("fixture.rc.res");
  // Without a sound library every sound is the program's silent one.
  ownModule->add(kSoundResourceType, 1, {0x80, 0x80, 0x80, 0x80});

  auto art = fixtureArtwork();
  own = ownModule.get();
  artwork = art.get();
  resourceLibraries().setOwn(std::move(ownModule));
  resourceLibraries().setGadgetLibrary(std::move(art));
}

void DialogTest::TearDown() {
  host.reset();
  dialog.reset();
  gadget.reset();
  resourceLibraries().release();
  setFatalExitHandler(nullptr);
}

void DialogTest::open(uint16_t templateId, bool deliverPosted) {
  ASSERT_TRUE(templates.count(templateId)) << "no template " << templateId;
  if (!gadget) gadget = std::make_unique<cRecordingGadget>(static_cast<int16_t>(templateId));
  dialog = std::make_unique<cDialog>(*gadget, gadget->previewCallback);
  host = std::make_unique<cHeadlessDialogHost>(templates.at(templateId));
  host->open(*dialog, deliverPosted);
}

}  // namespace dialogtest
