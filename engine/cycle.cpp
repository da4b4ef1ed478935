#include "engine/cycle.h"

#include "engine/worksheet.h"
#include "platform/platform.h"
#include "shell/core/numbers.h"
#include "sound/soundsystem.h"

namespace {

cMode gMode = cMode::editing;

// Closing the output frees every voice: the gadgets' sounds end with the run.
void stopGadgetSounds() {
  cSoundOut* out = soundOut();
  if (out && out->engine().isOpen()) out->engine().reopenOutput();
}

}  // namespace

cMode currentMode() { return gMode; }
bool isEditing() { return gMode == cMode::editing; }
bool isRunning() { return gMode == cMode::running; }
void setMode(cMode mode) { gMode = mode; }

uint32_t nowTicks() { return hasPlatform() ? ticks() : 0; }

uint32_t runTicks() {
  const cWorksheetPane* ws = theWorksheet();
  return ws ? ws->runTicks : 0;
}

void startRun() {
  if (isRunning()) return;
  gMode = cMode::running;
  playSound(kSndRunStart);
  cWorksheetPane* ws = theWorksheet();
  if (!ws) return;
  ws->host().showTray(false);
  ws->prepareRun();
  ws->host().updateCommands();
}

void stopRun() {
  if (isEditing()) return;
  cWorksheetPane* ws = theWorksheet();
  if (ws) ws->host().runStopping();
  gMode = cMode::editing;
  stopGadgetSounds();
  if (ws) ws->resetRun();
  playSound(kSndRunStop);
  if (!ws) return;
  ws->host().showTray(true);
  ws->host().updateCommands();
}

void runCycle() {
  cWorksheetPane* ws = theWorksheet();
  if (!ws || ws->host().isMinimised()) return;
  soundService();
  if (isEditing()) {
    cPoint p;
    if (ws->host().currentTool() != kHandTool && ws->host().cursorOverWorksheet(p))
      ws->updateHover(p);
    else
      ws->clearSelection();
  } else {
    const uint32_t now = nowTicks();
    if (ws->runStart == 0) {
      ws->runStart = now;
      ws->runTicks = 0;
    } else {
      ws->runTicks = now - ws->runStart;
    }
    for (cGadgetList::Node* n = ws->gadgets.head(); n && isRunning(); n = n->next) n->data->step();
  }
  ws->flush(0);
}

void pauseClock(bool pause) {
  cWorksheetPane* ws = theWorksheet();
  if (isEditing() || !ws) return;
  const uint32_t now = nowTicks();
  if (pause) {
    if (ws->pauseStart == 0) ws->pauseStart = now;
  } else if (ws->pauseStart != 0) {
    ws->runStart += now - ws->pauseStart;
    ws->pauseStart = 0;
  }
}
