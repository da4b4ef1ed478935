// ZANBEL.SLF built without the desktop toolkit: the resources are there for
// the exports, but there is no window to run an invention in.
#include <cstdio>

int main() {
  std::fputs("Zanbel: denne udgave af ZANBEL.SLF er bygget uden vinduer og kan ikke vise opfindelsen\n", stderr);
  return 1;
}
