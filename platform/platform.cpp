#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

namespace {
cPlatform* gInstalled = nullptr;
}

cPlatform& platform() {
  if (!gInstalled) {
    std::fputs("zanbel: no platform installed\n", stderr);
    std::abort();
  }
  return *gInstalled;
}

bool hasPlatform() { return gInstalled != nullptr; }

cPlatformScope::cPlatformScope(cPlatform& p) : previous_(gInstalled) { gInstalled = &p; }
cPlatformScope::~cPlatformScope() { gInstalled = previous_; }

cMessageResult cautiousAnswer(cMessageButtons buttons) {
  switch (buttons) {
    case cMessageButtons::ok: return cMessageResult::ok;
    case cMessageButtons::okCancel: return cMessageResult::cancel;
    case cMessageButtons::abortRetryIgnore: return cMessageResult::abort;
    case cMessageButtons::yesNoCancel: return cMessageResult::cancel;
    case cMessageButtons::yesNo: return cMessageResult::no;
    case cMessageButtons::retryCancel: return cMessageResult::cancel;
  }
  return cMessageResult::cancel;
}
