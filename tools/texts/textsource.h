// The readable source of the help texts and the credits text, and how it is
// read. The source is UTF-8; every text in it becomes one resource of type
// 1020 in Windows-1252 (see textres.h).
//
// Layout of the source, line by line:
//
//   # a comment                 a line whose first character is '#' is skipped
//   == 2008 Og-port ==          starts the block of text 2008; the words after
//                               the number are a name for the reader only
//   Og-porten sender sandt      the text: lines of one paragraph are joined
//   videre, når ...             with one space (leading and trailing spaces
//                               of each line are dropped)
//                               each empty line inside a block puts one line
//                               break (CR LF) into the text; empty lines at
//                               the start and end of a block are dropped
//
// Text numbers 1000-2999 are descriptions of the gadget kinds, 3000-4999 their
// tips (description + 2000); any other number (the credits, 10000) is a plain
// text. The reader refuses, with the file name and the line: bytes that are
// not UTF-8, characters without a Windows-1252 form, control characters (tabs
// included), text before the first header, a header it cannot read, a number
// outside 1..65535, an empty block, and the same number twice. A description
// without its tip and a tip without its description are refused too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct cTextBlock {
  uint16_t id = 0;
  std::string name;  // the words of the header after the number
  int line = 0;      // line of the header, for messages
  std::string text;  // UTF-8, '\n' where a line break goes
};

struct cTextSource {
  std::vector<cTextBlock> blocks;   // in source order
  std::vector<std::string> errors;  // "file:line: message", Danish
  bool ok() const { return errors.empty(); }
  const cTextBlock* find(uint16_t id) const;
};

enum class eTextRole { description, tip, plain };

// Which role a text number has (see the layout above).
eTextRole textRoleOf(uint16_t id);

// A character that has no Windows-1252 form, or a control character, or bytes
// that are not UTF-8: where it is (byte offset) and what it is.
struct cBadCharacter {
  size_t offset = 0;
  char32_t codePoint = 0;  // 0xFFFFFFFF for bytes that are not UTF-8
  bool control = false;
};
// The first character of utf8 that cannot go into a help text, if any.
std::optional<cBadCharacter> findBadCharacter(std::string_view utf8);
// The message for a bad character, without file and line.
std::string describeBadCharacter(const cBadCharacter& bad);

// Reads a whole source; fileName only goes into the messages. Every fault is
// reported, not only the first.
cTextSource parseTextSource(std::string_view utf8, const std::string& fileName);
