// vornix-lv2-bundle FOLDER BINARY [PRESET_FILE...]: writes the LV2 bundle's Turtle files into
// FOLDER for the library BINARY, with the Init preset (the state a new instance has without an init
// preset of the user's) and a preset for each preset file. The build runs it in a home folder of
// its own, so no user's settings shape what it writes.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#include "formats/common/EffectHost.h"
#include "formats/lv2/Controls.h"
#include "formats/lv2/bundle/Turtle.h"
#include "plugin/Plugin.h"

namespace {

using namespace vornix::formats;

struct TQuiet : TEffectHost::TListener {};

// The values as the ports show them.
std::vector<float> Values(TEffectHost& host, const lv2::TControls& controls) {
  std::vector<float> values;
  for (int i = 0; i < host.ParameterCount(); ++i) values.push_back(controls.FromModule(i, host.Parameter(i)));
  return values;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: vornix-lv2-bundle FOLDER BINARY [PRESET_FILE...]\n";
    return 2;
  }
  try {
    const std::filesystem::path folder = argv[1];
    TQuiet quiet;
    TEffectHost host(quiet);
    const auto parameters = DescribeParameters(host.Module());
    const lv2::TControls controls(parameters);

    std::vector<lv2::TPresetDescription> presets;
    host.Module().ResetState();
    presets.push_back({"Init", Values(host, controls), host.SaveState()});
    for (int i = 3; i < argc; ++i) {
      const std::filesystem::path file = argv[i];
      auto chunk = ReadFile(file);
      if (!host.LoadState(chunk)) throw std::runtime_error(file.string() + " is no preset");
      presets.push_back({file.stem().string(), Values(host, controls), std::move(chunk)});
    }

    std::filesystem::create_directories(folder);
    WriteFile(folder / "manifest.ttl", lv2::ManifestTurtle(argv[2], presets));
    WriteFile(folder / lv2::kPluginFile, lv2::PluginTurtle(parameters));
    WriteFile(folder / lv2::kPresetsFile, lv2::PresetsTurtle(parameters, presets));
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "vornix-lv2-bundle: " << e.what() << "\n";
    return 1;
  }
}
