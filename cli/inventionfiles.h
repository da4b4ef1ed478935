// What the invention commands of zanbel-cli (run, info, check) share.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/invention.h"
#include "platform/headless/headless.h"

// The headless platform zanbel-cli runs on.
cHeadlessPlatform& cliPlatform();
// Opens the resource libraries (once) and enters the gadget kinds into the factory.
void startEngineForCli();
// The bytes of the file, or of the built-in example when the name is empty.
// False, with a Danish message on err, when the file cannot be read.
bool loadInventionForCli(const std::string& file, std::vector<uint8_t>& image, std::ostream& err);
// "1 dims", "2 dimser"; "1 ledning", "2 ledninger".
std::string countOf(long n, const char* one, const char* many);
// Tells where a file was cut short, and which kinds were left out because
// this program cannot make them yet.
void reportSkippedKinds(const cReadReport& report, std::ostream& err);
