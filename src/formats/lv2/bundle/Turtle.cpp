#include "formats/lv2/bundle/Turtle.h"

#include <cctype>
#include <charconv>
#include <set>
#include <sstream>
#include <stdexcept>

#include "formats/lv2/Ports.h"

namespace vornix::formats::lv2 {

namespace {

constexpr const char* kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix rsz: <http://lv2plug.in/ns/ext/resize-port#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n\n";

std::string Iri(const std::string& uri) { return "<" + uri + ">"; }

std::string Text(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// A decimal literal ("32.0"), which Turtle reads as a number with a fraction.
std::string Decimal(float value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr;
  std::string text(buffer, end);
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

std::string PresetUri(const TPresetDescription& preset) { return Iri(kPresetUriPrefix + PresetSlug(preset.Name)); }

void CheckSymbols(const std::vector<TParameterInfo>& parameters) {
  std::set<std::string> seen = {"midi_in", "midi_out"};
  for (const auto& p : parameters)
    if (!seen.insert(p.Symbol).second) throw std::logic_error("two ports named " + p.Symbol);
}

}  // namespace

std::string Base64(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    const std::uint32_t n = static_cast<std::uint32_t>(bytes[i]) << 16 |
                            (left > 1 ? static_cast<std::uint32_t>(bytes[i + 1]) << 8 : 0u) |
                            (left > 2 ? bytes[i + 2] : 0u);
    text += kDigits[n >> 18 & 63];
    text += kDigits[n >> 12 & 63];
    text += left > 1 ? kDigits[n >> 6 & 63] : '=';
    text += left > 2 ? kDigits[n & 63] : '=';
  }
  return text;
}

std::string PresetSlug(const std::string& name) {
  std::string slug;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) != 0)
      slug += static_cast<char>(std::tolower(u));
    else if (!slug.empty() && slug.back() != '-')
      slug += '-';
  }
  while (!slug.empty() && slug.back() == '-') slug.pop_back();
  if (slug.empty()) throw std::invalid_argument("a preset needs a name with letters or digits");
  return slug;
}

std::string ManifestTurtle(const std::string& binary, const std::vector<TPresetDescription>& presets) {
  std::ostringstream t;
  t << kPrefixes;
  t << Iri(kPluginUri) << "\n  a lv2:Plugin ;\n  lv2:binary " << Iri(binary) << " ;\n  rdfs:seeAlso "
    << Iri(kPluginFile) << " .\n\n";
  t << Iri(kUiUri) << "\n  a ui:X11UI ;\n  ui:binary " << Iri(binary) << " ;\n  rdfs:seeAlso " << Iri(kPluginFile)
    << " .\n";
  for (const auto& preset : presets)
    t << "\n"
      << PresetUri(preset) << "\n  a pset:Preset ;\n  lv2:appliesTo " << Iri(kPluginUri) << " ;\n  rdfs:seeAlso "
      << Iri(kPresetsFile) << " .\n";
  return t.str();
}

std::string PluginTurtle(const std::vector<TParameterInfo>& parameters) {
  CheckSymbols(parameters);
  std::ostringstream t;
  t << kPrefixes;
  t << Iri(kPluginUri) << "\n"
    << "  a lv2:Plugin, lv2:MIDIPlugin ;\n"
    << "  doap:name \"Vornix\" ;\n"
    << "  doap:maintainer [ foaf:name \"Orvane\" ] ;\n"
    << "  rdfs:comment \"A MIDI controller step sequencer: eight sequences of up to 64 steps sent as control "
       "changes in time with the host's transport.\" ;\n"
    << "  lv2:requiredFeature urid:map ;\n"
    << "  lv2:optionalFeature lv2:hardRTCapable, opts:options ;\n"
    << "  opts:supportedOption bufsz:maxBlockLength, bufsz:nominalBlockLength ;\n"
    << "  lv2:extensionData state:interface ;\n"
    << "  ui:ui " << Iri(kUiUri) << " ;\n";
  t << "  lv2:port [\n"
    << "    a lv2:InputPort, atom:AtomPort ;\n"
    << "    atom:bufferType atom:Sequence ;\n"
    << "    atom:supports midi:MidiEvent, time:Position ;\n"
    << "    lv2:designation lv2:control ;\n"
    << "    lv2:index " << kEventsIn << " ;\n"
    << "    lv2:symbol \"midi_in\" ;\n"
    << "    lv2:name \"MIDI In\"\n"
    << "  ] , [\n"
    << "    a lv2:OutputPort, atom:AtomPort ;\n"
    << "    atom:bufferType atom:Sequence ;\n"
    << "    atom:supports midi:MidiEvent ;\n"
    << "    rsz:minimumSize " << kEventsOutMinimumSize << " ;\n"
    << "    lv2:index " << kEventsOut << " ;\n"
    << "    lv2:symbol \"midi_out\" ;\n"
    << "    lv2:name \"MIDI Out\"\n"
    << "  ]";
  for (const auto& p : parameters) {
    t << " , [\n"
      << "    a lv2:InputPort, lv2:ControlPort ;\n"
      << "    lv2:index " << kFirstControl + static_cast<std::uint32_t>(p.Index) << " ;\n"
      << "    lv2:symbol " << Text(p.Symbol) << " ;\n"
      << "    lv2:name " << Text(p.Name) << " ;\n"
      << "    lv2:default " << Decimal(p.Default) << " ;\n"
      << "    lv2:minimum " << Decimal(p.Min) << " ;\n"
      << "    lv2:maximum " << Decimal(p.Max);
    switch (p.Kind) {
      case TParameterKind::Toggle: t << " ;\n    lv2:portProperty lv2:toggled"; break;
      case TParameterKind::Integer: t << " ;\n    lv2:portProperty lv2:integer"; break;
      case TParameterKind::Choice:
        t << " ;\n    lv2:portProperty lv2:integer, lv2:enumeration ;\n    lv2:scalePoint";
        for (std::size_t v = 0; v < p.Choices.size(); ++v)
          t << (v == 0 ? " " : " ,\n      ") << "[ rdfs:label " << Text(p.Choices[v]) << " ; rdf:value "
            << Decimal(p.Min + static_cast<float>(v)) << " ]";
        break;
    }
    t << "\n  ]";
  }
  t << " .\n\n";
  // The editor is the module's own, reached through instance access; it needs the host's window
  // and its idle calls, and keeps its size.
  t << Iri(kUiUri) << "\n"
    << "  a ui:X11UI ;\n"
    << "  lv2:requiredFeature ui:idleInterface, ui:parent, <http://lv2plug.in/ns/ext/instance-access> ;\n"
    << "  lv2:optionalFeature ui:touch, ui:resize, ui:noUserResize ;\n"
    << "  lv2:extensionData ui:idleInterface .\n";
  return t.str();
}

std::string PresetsTurtle(const std::vector<TParameterInfo>& parameters,
                          const std::vector<TPresetDescription>& presets) {
  std::ostringstream t;
  t << kPrefixes;
  for (const auto& preset : presets) {
    if (preset.Values.size() != parameters.size()) throw std::logic_error("a preset without every setting");
    t << PresetUri(preset) << "\n  a pset:Preset ;\n  lv2:appliesTo " << Iri(kPluginUri) << " ;\n  rdfs:label "
      << Text(preset.Name) << " ;\n  lv2:port";
    for (std::size_t i = 0; i < parameters.size(); ++i)
      t << (i == 0 ? " " : " ,\n    ") << "[ lv2:symbol " << Text(parameters[i].Symbol) << " ; pset:value "
        << Decimal(preset.Values[i]) << " ]";
    t << " ;\n  state:state [\n    " << Iri(kStateUri) << " \"" << Base64(preset.Chunk)
      << "\"^^xsd:base64Binary\n  ] .\n\n";
  }
  return t.str();
}

}  // namespace vornix::formats::lv2
