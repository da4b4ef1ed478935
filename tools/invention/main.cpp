// zanbel-invention: compiles an invention written as text (inventiontext.h)
// into an invention file and into the resource 1023/1 of a program.
//
//   zanbel-invention KILDE.txt [--wgt UD.wgt] [--res UD.res]
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "export/resfile.h"
#include "tools/invention/inventiontext.h"

int main(int argc, char** argv) {
  std::string source, wgt, res;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--wgt" && i + 1 < argc) wgt = argv[++i];
    else if (a == "--res" && i + 1 < argc) res = argv[++i];
    else if (source.empty() && a[0] != '-') source = a;
    else {
      std::cerr << "brug: zanbel-invention KILDE.txt [--wgt UD.wgt] [--res UD.res]\n";
      return 2;
    }
  }
  if (source.empty()) {
    std::cerr << "brug: zanbel-invention KILDE.txt [--wgt UD.wgt] [--res UD.res]\n";
    return 2;
  }
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << "zanbel-invention: kan ikke læse " << source << "\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  const cInventionTextResult r = compileInventionText(text.str());
  if (!r.ok()) {
    std::cerr << source << ": " << r.error << "\n";
    return 1;
  }
  std::string error;
  if (!wgt.empty() && !saveFileBytes(wgt, r.image, error)) {
    std::cerr << "zanbel-invention: " << error << "\n";
    return 1;
  }
  if (!res.empty()) {
    cResEntry entry;
    entry.type = 1023;
    entry.name = 1;
    entry.data = r.image;
    if (!saveFileBytes(res, writeResFile({entry}), error)) {
      std::cerr << "zanbel-invention: " << error << "\n";
      return 1;
    }
  }
  return 0;
}
