// A menu bar from a menu resource (shell/core/menuresource.h). The toolkit
// takes item ids below 32767 only, and the framework's commands lie above
// 57600, so an item's id is its command number less 32768 from there on.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/core/menuresource.h"

class wxMenuBar;

constexpr int menuItemId(uint16_t command) { return command >= 0x8000 ? command - 0x8000 : command; }

wxMenuBar* makeMenuBar(const std::vector<cMenuItem>& items);
