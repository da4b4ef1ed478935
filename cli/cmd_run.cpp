// zanbel-cli run [FIL] [--seconds N] [--png UD.png] [--values] [--key T@S] [--click X,Y@S]
//
// Runs an invention without a window on the virtual clock, as fast as the
// machine allows: the built-in example when no file is given.
#include <cstdlib>
#include <ostream>

#include "cli/commands.h"
#include "cli/inventionfiles.h"
#include "engine/runner.h"
#include "graphics/wingdib.h"
#include "platform/headless/headless.h"

namespace {

// Seconds written with a decimal point or comma ("2.5", "2,5").
bool parseSeconds(std::string text, double& seconds) {
  for (char& c : text)
    if (c == ',') c = '.';
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && seconds >= 0 && seconds <= 4.0e6;
}

uint32_t toMs(double seconds) { return static_cast<uint32_t>(seconds * 1000.0 + 0.5); }

}  // namespace

int cmdRun(cCliContext& c) {
  const cCliCommand& self = *findCliCommand("run");
  std::string file, png;
  double seconds = 10;
  bool values = false;
  cRunPlan plan;
  for (size_t i = 0; i < c.args.size(); ++i) {
    const std::string& a = c.args[i];
    const bool more = i + 1 < c.args.size();
    if (a == "--seconds" && more) {
      if (!parseSeconds(c.args[++i], seconds)) {
        c.err << "zanbel-cli run: \"" << c.args[i] << "\" er ikke et antal sekunder\n";
        return kCliUsage;
      }
    } else if (a == "--png" && more) {
      png = c.args[++i];
    } else if (a == "--values") {
      values = true;
    } else if ((a == "--key" || a == "--click") && more) {
      const std::string& event = c.args[++i];
      const size_t at = event.rfind('@');
      double when = 0;
      if (at == std::string::npos || !parseSeconds(event.substr(at + 1), when)) {
        c.err << "zanbel-cli run: skriv " << a << (a == "--key" ? " TAST@SEKUNDER" : " X,Y@SEKUNDER")
              << ", for eksempel " << (a == "--key" ? "A@2.5" : "120,80@3") << "\n";
        return kCliUsage;
      }
      const std::string what = event.substr(0, at);
      if (a == "--key") {
        const int key = parseKeyName(what);
        if (key < 0) {
          c.err << "zanbel-cli run: kender ikke tasten \"" << what << "\"\n";
          return kCliUsage;
        }
        plan.keys.push_back({key, toMs(when)});
      } else {
        const size_t comma = what.find(',');
        char* e1 = nullptr;
        char* e2 = nullptr;
        const long x = std::strtol(what.c_str(), &e1, 10);
        const long y = comma == std::string::npos ? 0 : std::strtol(what.c_str() + comma + 1, &e2, 10);
        if (comma == std::string::npos || e1 != what.c_str() + comma || *e2 != '\0' || x < -32768 || x > 32767 ||
            y < -32768 || y > 32767) {
          c.err << "zanbel-cli run: \"" << what << "\" skal skrives X,Y\n";
          return kCliUsage;
        }
        plan.clicks.push_back({cPoint(int(y), int(x)), toMs(when)});
      }
    } else if (a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return cliUsage(self, c.err);
    }
  }
  plan.milliseconds = toMs(seconds);

  std::vector<uint8_t> image;
  if (!loadInventionForCli(file, image, c.err)) return kCliFailed;
  cHeadlessPlatform& hp = cliPlatform();
  startEngineForCli();
  CWinGInfo display;
  cInventionRunner runner(hp);
  cReadReport report;
  if (!runner.load(image, &report)) {
    c.err << "zanbel-cli run: " << (file.empty() ? "eksemplet" : file) << ": Denne fil er ikke gemt i Zanbel\n";
    return kCliFailed;
  }
  reportSkippedKinds(report, c.err);
  runner.run(plan);
  if (runner.stoppedByItself())
    c.err << "Opfindelsen stoppede efter " << runner.ranMs() / 1000.0 << (runner.ranMs() == 1000 ? " sekund" : " sekunder")
          << ".\n";
  if (values)
    for (const cPinValue& v : runner.values()) c.out << formatPinValue(v) << '\n';
  if (!png.empty()) {
    std::string error;
    if (!runner.writePng(png, error)) {
      c.err << "zanbel-cli run: " << error << "\n";
      return kCliFailed;
    }
  }
  if (!values && png.empty())
    c.out << "Kørte " << (file.empty() ? "eksemplet" : file) << " i " << runner.ranMs() / 1000.0
          << (runner.ranMs() == 1000 ? " sekund: " : " sekunder: ")
          << countOf(report.gadgets, "dims", "dimser") << ", " << countOf(report.wires, "ledning", "ledninger") << ".\n";
  runner.stop();
  return kCliOk;
}
