// The simulation cycle: the mode, the run clock, Run and Stop.
//
// An invention runs by cycles, one after another whenever the program is
// idle; in each cycle every gadget takes one step, front of the list first,
// and pulls what it needs from its input wires at that moment. Time is the
// run clock in ticks of 1/60 second, never the number of cycles.
#pragma once

#include <cstdint>

enum class cMode : uint8_t { running = 0, editing = 1 };

// The one mode of the program (editing at start).
cMode currentMode();
bool isEditing();
bool isRunning();
// Tests and the player's start put the mode back.
void setMode(cMode mode);

// The current time in ticks: the platform clock's milliseconds x 0.06, truncated.
uint32_t nowTicks();

// The run command (button 1501, or Enter while editing); ignored while running.
void startRun();
// The stop command (button 1502, Escape while running, or the judge); ignored while editing.
void stopRun();
// One cycle, from the idle handler.
void runCycle();
// The program lost (true) or regained (false) the focus: the time in between
// is left out of the run clock.
void pauseClock(bool pause);
// Ticks since the run started; kept after Stop.
uint32_t runTicks();
