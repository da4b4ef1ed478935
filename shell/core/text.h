// Windows-1252 and UTF-8. Texts inside inventions, puzzles, help texts and
// combo texts are Windows-1252 bytes; the toolkit, FreeType and the terminal
// take UTF-8. Convert at those edges only.
#pragma once

#include <string>
#include <string_view>

std::string cp1252ToUtf8(std::string_view text);
// Characters without a Windows-1252 form become '?'; invalid UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view text);
// The code point of one Windows-1252 byte.
char32_t cp1252CodePoint(unsigned char c);
