// cUndo: one level of undo by whole snapshots in the invention file format.
//
// Every edit takes a snapshot before it changes anything; Undo puts the
// snapshot back and keeps the state it replaced, so a second Undo returns to
// it.
#pragma once

#include <cstdint>
#include <memory>

#include "shell/core/liveobjects.h"

class cWorksheetPane;

// Room a snapshot keeps beyond the invention, and that the memory check asks for.
inline constexpr uint32_t kUndoSpare = 63000;

class cUndo : cLiveObject {
 public:
  // Replaces the snapshot with the worksheet as it is now.
  void snapshot(cWorksheetPane& worksheet);
  // Puts the snapshot back (see above). Without a snapshot nothing changes.
  void undo(cWorksheetPane& worksheet);
  // Drops the snapshot.
  void clear();

  bool canUndo() const { return canUndo_; }
  uint32_t size() const { return size_; }

 private:
  std::unique_ptr<uint8_t[]> data_;
  uint32_t size_ = 0;
  bool canUndo_ = false;
};

// The program's one undo store.
cUndo& undoStore();
