#include "render/Options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "gfx/Scale.h"
#include "plugin/Skins.h"

namespace vornix::render {

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// "Carbon, Dark (Amakrits), ...": the menu captions, each with its style name where that differs.
std::string SkinList() {
  std::string list;
  for (int i = 0; i < plugin::kSkinCount; ++i) {
    const std::string caption = plugin::SkinMenuCaption(i), style = plugin::SkinStyleName(i);
    list += (i > 0 ? ", " : "") + caption + (caption == style ? "" : " (" + style + ")");
  }
  return list;
}

// A skin by its menu caption or its style name, in any case.
int ParseSkin(std::string_view text) {
  for (int i = 0; i < plugin::kSkinCount; ++i) {
    if (SameText(text, plugin::SkinMenuCaption(i)) || SameText(text, plugin::SkinStyleName(i))) return i;
  }
  throw UsageError("--skin: no skin is called '" + std::string(text) + "'; the skins are " + SkinList());
}

std::string ViewList() {
  std::string list;
  for (const auto& v : EditorViewNames()) list += (list.empty() ? "" : ", ") + std::string(v.name);
  return list;
}

EditorView ParseView(std::string_view text) {
  for (const auto& v : EditorViewNames()) {
    if (SameText(text, v.name)) return v.view;
  }
  throw UsageError("--show: '" + std::string(text) + "' is not one of " + ViewList());
}

// Options that only make sense together.
void CheckCombinations(const Options& o, bool pictureOptionGiven) {
  if (o.screenshotFile.empty()) {
    if (pictureOptionGiven) throw UsageError("--skin, --zoom, --show and --playing-step go with --screenshot");
    return;
  }
  if (o.info) throw UsageError("give --screenshot or --info, not both");
  if (!o.midiFile.empty() || o.text || !o.textFile.empty() || !o.notes.empty())
    throw UsageError(
        "--screenshot draws the editor and plays nothing: leave out --note, --midi, --text and --text-file");
}

double Number(std::string_view option, std::string_view text, double min, double max) {
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not a number");
  if (value < min || value > max) {
    char range[64];
    std::snprintf(range, sizeof range, "%g to %g", min, max);
    throw UsageError(std::string(option) + ": " + std::string(text) + " is outside " + range);
  }
  return value;
}

int Integer(std::string_view option, std::string_view text, int min, int max) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size())
    throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not a whole number");
  if (value < min || value > max)
    throw UsageError(std::string(option) + ": " + std::string(text) + " is outside " + std::to_string(min) + " to " +
                     std::to_string(max));
  return value;
}

// One of the editor's zoom steps, in percent.
int ParseZoom(std::string_view option, std::string_view text) {
  std::string steps;
  for (const int step : gfx::kZoomSteps) steps += (steps.empty() ? "" : ", ") + std::to_string(step);
  const int zoom = Integer(option, text, gfx::kZoomSteps.front(), gfx::kZoomSteps.back());
  if (gfx::ZoomStepIndex(zoom) < 0) throw UsageError(std::string(option) + ": the zooms are " + steps);
  return zoom;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

void ParseTimeSignature(std::string_view text, Options& o) {
  const auto parts = Split(text, '/');
  if (parts.size() != 2) throw UsageError("--time-sig: '" + std::string(text) + "' is not of the form N/D, e.g. 3/4");
  o.timeSigNumerator = Integer("--time-sig numerator", parts[0], 1, 255);
  const int d = Integer("--time-sig denominator", parts[1], 1, 64);
  // A MIDI file can only say powers of two.
  if ((d & (d - 1)) != 0)
    throw UsageError("--time-sig denominator: " + std::string(parts[1]) + " is not one of 1, 2, 4, 8, 16, 32, 64");
  o.timeSigDenominator = d;
}

NoteInput ParseNote(std::string_view text) {
  const auto parts = Split(text, ':');
  if (parts.size() < 3 || parts.size() > 5)
    throw UsageError("--note: '" + std::string(text) + "' is not of the form NOTE:START:END[:VELOCITY[:CHANNEL]]");
  NoteInput n;
  n.note = Integer("--note number", parts[0], 0, 127);
  n.start = Number("--note start", parts[1], -1e6, 1e6);
  n.end = Number("--note end", parts[2], -1e6, 1e6);
  if (n.end <= n.start) throw UsageError("--note: '" + std::string(text) + "' ends before it starts");
  if (parts.size() > 3) n.velocity = Integer("--note velocity", parts[3], 1, 127);
  if (parts.size() > 4) n.channel = Integer("--note channel", parts[4], 1, 16);
  return n;
}

ParameterSetting ParseParameter(std::string_view option, std::string_view text, bool normalized) {
  const auto at = text.find('=');
  ParameterSetting p;
  if (at == std::string_view::npos || at == 0 || at + 1 == text.size())
    throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not of the form NAME=VALUE");
  p.name = std::string(text.substr(0, at));
  p.value = std::string(text.substr(at + 1));
  p.normalized = normalized;
  if (normalized) Number(option, p.value, 0.0, 1.0);
  return p;
}

std::string Path(std::string_view option, std::string_view text) {
  if (text.empty()) throw UsageError(std::string(option) + ": the file name is empty");
  return std::string(text);
}

}  // namespace

const std::vector<EditorViewName>& EditorViewNames() {
  static const std::vector<EditorViewName> names = {
      {EditorView::Editor, "editor"},        {EditorView::MainMenu, "main-menu"},
      {EditorView::SkinMenu, "skin-menu"},   {EditorView::SequenceMenu, "sequence-menu"},
      {EditorView::RateMenu, "rate-menu"},   {EditorView::TypeMenu, "type-menu"},
      {EditorView::OrderMenu, "order-menu"}, {EditorView::TriggerMenu, "trigger-menu"},
      {EditorView::CCMenu, "cc-menu"},       {EditorView::About, "about"},
      {EditorView::Title, "title"},
  };
  return names;
}

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  bool lengthGiven = false;
  bool pictureOptionGiven = false;
  auto pictureOption = [&] { pictureOptionGiven = true; };
  auto setLength = [&](std::string_view option, std::string_view text, LengthUnit unit, double max) {
    if (lengthGiven) throw UsageError("give the length once, with --bars or with --seconds");
    lengthGiven = true;
    o.length = Number(option, text, 0.0, max);
    if (o.length <= 0.0) throw UsageError(std::string(option) + ": the length must be above 0");
    o.lengthUnit = unit;
  };

  using Handler = std::function<void(std::string_view option, std::string_view value)>;
  const std::map<std::string, Handler, std::less<>> withValue = {
      {"--tempo", [&](auto opt, auto v) { o.tempo = Number(opt, v, 4.0, 1000.0); }},
      {"--time-sig", [&](auto, auto v) { ParseTimeSignature(v, o); }},
      {"--sample-rate", [&](auto opt, auto v) { o.sampleRate = Number(opt, v, 1000.0, 1e6); }},
      {"--block-size", [&](auto opt, auto v) { o.blockSize = Integer(opt, v, 1, 65536); }},
      {"--bars", [&](auto opt, auto v) { setLength(opt, v, LengthUnit::Bars, 10000.0); }},
      {"--seconds", [&](auto opt, auto v) { setLength(opt, v, LengthUnit::Seconds, 36000.0); }},
      {"--start", [&](auto opt, auto v) { o.start = Number(opt, v, -1e6, 1e6); }},
      {"--note", [&](auto, auto v) { o.notes.push_back(ParseNote(v)); }},
      {"--param", [&](auto opt, auto v) { o.parameters.push_back(ParseParameter(opt, v, false)); }},
      {"--param-normalized", [&](auto opt, auto v) { o.parameters.push_back(ParseParameter(opt, v, true)); }},
      {"--load", [&](auto opt, auto v) { o.loadFile = Path(opt, v); }},
      {"--midi", [&](auto opt, auto v) { o.midiFile = Path(opt, v); }},
      {"--ppq", [&](auto opt, auto v) { o.ppq = Integer(opt, v, 1, 32767); }},
      {"--text-file", [&](auto opt, auto v) { o.textFile = Path(opt, v); }},
      {"--save-chunk", [&](auto opt, auto v) { o.saveChunkFile = Path(opt, v); }},
      {"--screenshot", [&](auto opt, auto v) { o.screenshotFile = Path(opt, v); }},
      {"--skin", [&](auto, auto v) { o.skin = (pictureOption(), ParseSkin(v)); }},
      {"--zoom", [&](auto opt, auto v) { o.zoom = (pictureOption(), ParseZoom(opt, v)); }},
      {"--show", [&](auto, auto v) { o.show = (pictureOption(), ParseView(v)); }},
      {"--playing-step", [&](auto opt, auto v) { o.playingStep = (pictureOption(), Integer(opt, v, 1, 64)); }},
  };
  const std::map<std::string, std::function<void()>, std::less<>> flags = {
      {"--help", [&] { o.help = true; }},
      {"-h", [&] { o.help = true; }},
      {"--info", [&] { o.info = true; }},
      {"--text", [&] { o.text = true; }},
  };

  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      if (!o.plugin.empty()) throw UsageError("more than one plug-in given: '" + o.plugin + "' and '" + args[i] + "'");
      o.plugin = args[i];
      continue;
    }
    std::string_view name = arg, value;
    const auto eq = arg.find('=');
    const bool inlineValue = eq != std::string_view::npos;
    if (inlineValue) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
    }
    if (const auto f = flags.find(name); f != flags.end()) {
      if (inlineValue) throw UsageError(std::string(name) + " takes no value");
      f->second();
    } else if (const auto h = withValue.find(name); h != withValue.end()) {
      if (!inlineValue) {
        if (i + 1 == args.size()) throw UsageError(std::string(name) + " needs a value");
        value = args[++i];
      }
      h->second(name, value);
    } else {
      throw UsageError("unknown option '" + std::string(name) + "' (see --help)");
    }
  }
  CheckCombinations(o, pictureOptionGiven);
  return o;
}

std::string UsageText() {
  return R"(usage: vornix-render [OPTIONS] [PLUGIN.so]
       vornix-render --info [--load FILE] [--param NAME=TEXT ...] [PLUGIN.so]
       vornix-render --screenshot FILE.png [--skin NAME] [--zoom PCT] [--load FILE]
                     [--param NAME=TEXT ...] [--show VIEW] [--playing-step N] [PLUGIN.so]

Loads the plug-in through its entry point, plays a host transport into it and writes every
MIDI event it sends, or draws its editor. PLUGIN.so defaults to the Vornix.so of the build tree
this tool is in.

Transport:
  --tempo BPM              quarter notes per minute, 4 to 1000 (default 120)
  --time-sig N/D           time signature; D a power of two up to 64 (default 4/4)
  --sample-rate HZ         sample rate (default 44100)
  --block-size FRAMES      samples per processing call, 1 to 65536 (default 512)
  --bars N                 length in bars, may have a fraction (default 2)
  --seconds S              length in seconds, instead of --bars
  --start QN               host position of the first sample in quarter notes; negative
                           positions play a pre-roll (default 0)

Input to the plug-in:
  --note N:START:END[:VELOCITY[:CHANNEL]]
                           play note N (0..127) from host position START to END, in quarter
                           notes; velocity 1..127 (default 100), channel 1..16 (default 1);
                           repeatable. Each note-on and note-off reaches the plug-in through
                           effProcessEvents before the block that holds it, at its offset.
  --load FILE              hand FILE's bytes (a preset file or saved chunk) to the plug-in as
                           its program chunk before rendering
  --param NAME=TEXT        set parameter NAME to the value it shows as TEXT, e.g.
                           --param "Seq2 Active=On" --param "Seq2 Rate=1/16"; repeatable,
                           applied in order after --load
  --param-normalized NAME=X
                           set parameter NAME to the host value X in 0..1

Output (with none of these, the text goes to standard output):
  --midi FILE              Standard MIDI File (format 0): tempo and time signature at tick 0,
                           then every event at its sample position, counted from the first
                           rendered sample
  --ppq N                  ticks per quarter note in the MIDI file, 1 to 32767 (default 960)
  --text                   one line per event on standard output: sample position, host
                           position in quarter notes, the three bytes in hex
  --text-file FILE         the same lines into FILE
  --save-chunk FILE        after rendering, write the plug-in's program chunk to FILE

Editor picture (plays nothing):
  --screenshot FILE.png    draw the whole editor, 786 x 421 pixels at 100 %, for the state that
                           --load and --param give the plug-in, as a PNG file. The plug-in's state
                           is taken as its chunk and opened in the editor that this tool
                           carries, the same code as the plug-in's, on windows in memory: no
                           display is needed
  --skin NAME              the skin, by its menu caption or style name in any case: Carbon,
                           Dark (Amakrits), Light, Luna or Smokey (Smokey Quartz Kamri);
                           default: the one the user's configuration selects
  --zoom PCT               the editor's zoom: 100, 125, 150, 175 or 200 (percent); default:
                           the one the user chose, else 100
  --show VIEW              with this open over the editor (the picture grows to hold it):
                           main-menu, skin-menu, sequence-menu, rate-menu, type-menu,
                           order-menu, trigger-menu, cc-menu (the CC# input's right-click
                           menu), about (the About box) or title (the sequence title
                           question); default: editor, nothing open
  --playing-step N         light step N (1..64) in the grid's strip, as while the host plays

Other:
  --info                   print the plug-in's identity, capabilities and parameters (after
                           --load and --param), and render nothing
  --help, -h               this text

Options take their value as the next argument or after '='. Any error exits with status 2.
)";
}

}  // namespace vornix::render
