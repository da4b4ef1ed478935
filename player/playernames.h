// What the player takes from its own file name, and where a picture goes on
// a printed page. Nothing here needs a window.
#pragma once

#include <string>


// The program's base name: no folder, no extension ("/x/ROBOT.EXE" gives "ROBOT").
std::string programBaseName(const std::string& programPath);
// Lower case as a Danish reader expects it: A-Z and the Latin-1 capitals
// (Æ, Ø, Å and the accented ones) of UTF-8 text.
std::string lowerCaseText(const std::string& text);
// "Selvstændig opfindelse - robot": the main window's title for the program.
std::string playerTitle(const std::string& programPath);

// A place on a page, in the page's pixels (a printer's pages are larger than
// the 16-bit rectangles hold).
struct cPagePlace {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const cPagePlace&, const cPagePlace&) = default;
};
// Where a width x height picture goes on the page: as large as the page
// allows with the picture's proportions, centred on the axis left free.
// Empty when the picture or the page is.
cPagePlace fitPictureToPage(int width, int height, const cPagePlace& page);
