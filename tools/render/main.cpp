// vornix-render: runs the plug-in without a DAW, through its real entry point.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "hostkit/PluginHost.h"
#include "render/FileNames.h"
#include "render/Info.h"
#include "render/MidiFile.h"
#include "render/Options.h"
#include "render/Render.h"
#include "render/Screenshot.h"
#include "render/TextOutput.h"
#include "render/Transport.h"

namespace {

using namespace vornix::render;

constexpr int kFailed = 2;

#ifdef _WIN32
constexpr const char* kPluginFile = "Vornix.dll";

std::filesystem::path ThisProgram() {
  std::wstring name(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
  if (n == 0 || n >= name.size()) return {};
  name.resize(n);
  return name;
}
#else
constexpr const char* kPluginFile = "Vornix.so";

std::filesystem::path ThisProgram() {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : self;
}
#endif

// The build puts the tool at <build>/tools/render/ and the plug-in at <build>/Vornix.so (.dll).
std::string PluginBesideTool() {
  const auto self = ThisProgram();
  if (self.empty()) return {};
  std::error_code ec;
  const auto candidate = self.parent_path().parent_path().parent_path() / kPluginFile;
  if (!std::filesystem::exists(candidate, ec)) return {};
  const auto text = candidate.u8string();
  return std::string(text.begin(), text.end());
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(FileName(path), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

MidiFileContent MidiContent(const Options& o, const RenderResult& result) {
  MidiFileContent c;
  c.ppq = o.ppq;
  c.tempo = o.tempo;
  c.timeSigNumerator = o.timeSigNumerator;
  c.timeSigDenominator = o.timeSigDenominator;
  for (const auto& e : result.events)
    c.events.push_back({TickAt(e.sample, o.tempo, o.ppq, o.sampleRate), e.status, e.data1, e.data2});
  c.endTick = TickAt(result.lengthInSamples, o.tempo, o.ppq, o.sampleRate);
  return c;
}

int Run(const Options& o) {
  std::string plugin = o.plugin.empty() ? PluginBesideTool() : o.plugin;
  if (plugin.empty())
    throw UsageError(std::string("no plug-in given, and no ") + kPluginFile + " in this tool's build tree");

  vornix::hostkit::PluginHost host(plugin);
  OpenEffect(host, o);
  if (o.info) {
    PrintInfo(host, std::cout);
    CloseEffect(host, o);
    return 0;
  }
  if (!o.screenshotFile.empty()) {
    WriteScreenshot(host, o);
    CloseEffect(host, o);
    return 0;
  }
  const RenderResult result = Play(host, o);
  CloseEffect(host, o);

  for (const auto& problem : CheckEvents(result)) std::cerr << "vornix-render: warning: " << problem << "\n";
  if (!o.midiFile.empty()) WriteBytes(o.midiFile, BuildMidiFile(MidiContent(o, result)));
  if (!o.textFile.empty()) {
    // Binary: the same bytes on every system ("\n" line ends).
    std::ofstream out(FileName(o.textFile), std::ios::binary);
    WriteText(result, out);
    if (!out.flush()) throw std::runtime_error("cannot write " + o.textFile);
  }
  if (o.TextToStdout()) WriteText(result, std::cout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The text output is the same bytes on every system; Windows would add a CR to every line.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  try {
    const Options options = ParseOptions(Arguments(argc, argv));
    if (options.help) {
      std::cout << UsageText();
      return 0;
    }
    return Run(options);
  } catch (const std::exception& e) {
    std::cerr << "vornix-render: " << e.what() << "\n";
    return kFailed;
  }
}
