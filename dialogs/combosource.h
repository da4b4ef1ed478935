// The source of the combo texts (resources/dialogs/combotexts.txt) and the
// resources the build makes of it. The format is described in that file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialogtemplate.h"
#include "export/resfile.h"

struct cComboSourceList {
  uint16_t dialog = 0;
  uint16_t control = 0;
  int line = 0;                      // of the header, for messages
  std::vector<std::string> entries;  // Windows-1252
};

struct cComboSource {
  std::vector<cComboSourceList> lists;
  std::string error;  // Danish; empty when the whole source was read
  bool ok() const { return error.empty(); }
};

cComboSource parseComboSource(std::string_view utf8);

// Every list must name a combo box of its dialog, once; the error in Danish,
// empty when all is well.
std::string checkComboSource(const cComboSource& source,
                             const std::map<uint16_t, cDialogTemplate>& templates);

// One resource of type 1022 per dialog, its lists in the order of the source.
std::vector<cResEntry> comboTextResources(const cComboSource& source, uint16_t language);
