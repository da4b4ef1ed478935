#include "engine/undo.h"

#include <cstring>
#include <new>
#include <vector>

#include "engine/invention.h"
#include "engine/worksheet.h"

cUndo& undoStore() {
  static cUndo store;
  return store;
}

void cUndo::snapshot(cWorksheetPane& ws) {
  // The old snapshot goes first: it must not be undone to once the
  // invention has moved on, even when there is no room for the new one.
  clear();
  const size_t size = inventionSize(ws);
  data_.reset(new (std::nothrow) uint8_t[size + kUndoSpare]);
  if (data_) {
    size_ = static_cast<uint32_t>(writeInvention(ws, std::span<uint8_t>(data_.get(), size)));
    canUndo_ = size_ > 0;
  }
  ws.host().updateCommands();
}

void cUndo::undo(cWorksheetPane& ws) {
  if (!canUndo_ || !data_) return;
  const std::vector<uint8_t> copy(data_.get(), data_.get() + size_);
  snapshot(ws);
  ws.removeEverything();
  ws.limits.clear();
  if (readInvention(ws, copy, true) == 0) {
    // Short of memory: let the snapshot go and try once more.
    clear();
    ws.removeEverything();
    ws.limits.clear();
    readInvention(ws, copy, true);
  }
  ws.host().limitsChanged();
  ws.host().documentChanged();
  ws.redrawAll();
}

void cUndo::clear() {
  data_.reset();
  size_ = 0;
  canUndo_ = false;
}
