// What the dialog framework's tests share: the compiled templates, a
// headless program whose artwork library holds small pictures and help
// texts, and a gadget kind that records what its dialog did to it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog.h"
#include "dialogs/dialogtemplate.h"
#include "dialogs/headlessdialog.h"
#include "engine/gadget.h"
#include "export/resfile.h"
#include "platform/headless/headless.h"
#include "shell/core/resources.h"

namespace dialogtest {

// The entries of a .res file made by the build (in the dialogs' build folder).
std::vector<cResEntry> builtResources(const std::string& fileName);
// The dialog templates among them, by id.
std::map<uint16_t, cDialogTemplate> builtTemplates(const std::string& fileName);

// An artwork library with the framework's pictures (504, 505, 1234), the
// point 1011/1, and the help texts of kind 3001.
std::unique_ptr<cMemoryResourceModule> fixtureArtwork();

// Palette indices of the test pictures.
inline constexpr uint8_t kGadgetIndex = 77, kArrowIndex = 88, kBulbIndex = 99, kPictureIndex = 66,
                         kToggleIndex = 55;

// A gadget of the fixture's kind (text number 3001 unless told): 40 x 20,
// pins 0 in at the left edge, 1 in on the top edge, 2 out at the right
// edge. It counts what the dialog calls.
class cRecordingGadget : public cGadget {
 public:
  explicit cRecordingGadget(int16_t textNumber = 3001);
  void draw(CWinGDib& surface, const cRect& clip) override;
  void loadDialog(cGadgetDialog& dialog) override;
  void saveDialog(cGadgetDialog& dialog) override;
  void settingsChanged(cGadgetDialog& dialog) override;

  int loads = 0, saves = 0, changes = 0;
  static int previews;
  static int hookRuns;
  // The base preview, counted.
  static void countingPreview(cGadgetDialog& dialog, cGadget& gadget);
  static void countingHook(cGadgetDialog& dialog, cGadget& gadget);
};

// A headless program with the fixture templates and combo texts in its own
// module and the framework's pictures and texts in its artwork library.
class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A host with the windows of template id, and the gadget's dialog opened in it.
  void open(uint16_t templateId, bool deliverPosted = true);

  cHeadlessPlatform hp;
  cMemoryResourceModule* own = nullptr;      // owned by the resource libraries
  cMemoryResourceModule* artwork = nullptr;  // likewise
  std::map<uint16_t, cDialogTemplate> templates;
  std::unique_ptr<cRecordingGadget> gadget;
  std::unique_ptr<cDialog> dialog;
  std::unique_ptr<cHeadlessDialogHost> host;
  int fatalExits = 0;
};

}  // namespace dialogtest
