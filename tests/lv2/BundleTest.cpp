// The bundle as a host reads it (lilv): the plug-in, its two atom ports, the 72 settings with the
// VST 2.x parameters' names, ranges, defaults, kinds and list texts, its features, state, UI and
// presets.
#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/core/lv2.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/midi/midi.h>
#include <lv2/port-props/port-props.h>
#include <lv2/presets/presets.h>
#include <lv2/time/time.h>
#include <lv2/ui/ui.h>

#include <set>

#include "../platform/TempEnvironment.h"
#include "LilvHost.h"
#include "formats/common/EffectHost.h"
#include "formats/common/ParameterInfo.h"

namespace vornix::testing::lv2 {
namespace {

class Lv2Bundle : public ::testing::Test {
 protected:
  std::set<std::string> Nodes(const LilvNodes* nodes) {
    std::set<std::string> uris;
    LILV_FOREACH(nodes, i, nodes) uris.insert(lilv_node_as_string(lilv_nodes_get(nodes, i)));
    return uris;
  }

  TWorld world;
};

TEST_F(Lv2Bundle, DescribesThePluginItsFeaturesStateAndUi) {
  const LilvPlugin* p = world.Plugin();
  ASSERT_NE(p, nullptr) << "no " << formats::lv2::kPluginUri << " in " << VORNIX_LV2_BUNDLE;
  ASSERT_TRUE(lilv_plugin_verify(p));
  LilvNode* name = lilv_plugin_get_name(p);
  EXPECT_STREQ(lilv_node_as_string(name), "Vornix");
  lilv_node_free(name);
  EXPECT_STREQ(lilv_node_as_uri(lilv_plugin_class_get_uri(lilv_plugin_get_class(p))), LV2_CORE_PREFIX "MIDIPlugin");
  EXPECT_EQ(lilv_plugin_get_num_ports(p), formats::lv2::kPortCount);

  LilvNodes* required = lilv_plugin_get_required_features(p);
  EXPECT_EQ(Nodes(required), std::set<std::string>{LV2_URID__map});
  lilv_nodes_free(required);
  EXPECT_TRUE(lilv_plugin_has_extension_data(p, world.Uri(LV2_STATE__interface)));
  EXPECT_TRUE(lilv_plugin_has_feature(p, world.Uri(LV2_CORE__hardRTCapable)));

  LilvUIs* uis = lilv_plugin_get_uis(p);
  ASSERT_EQ(lilv_uis_size(uis), 1u);
  const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
  EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), formats::lv2::kUiUri);
  EXPECT_TRUE(lilv_ui_is_a(ui, world.Uri(LV2_UI__X11UI)));
  EXPECT_EQ(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), lilv_node_as_uri(lilv_plugin_get_library_uri(p)))
      << "the plug-in and its editor share one library";
  LilvNodes* uiRequires =
      lilv_world_find_nodes(world.World(), lilv_ui_get_uri(ui), world.Uri(LV2_CORE__requiredFeature), nullptr);
  EXPECT_EQ(Nodes(uiRequires), (std::set<std::string>{LV2_UI__idleInterface, LV2_UI__parent, LV2_INSTANCE_ACCESS_URI}));
  lilv_nodes_free(uiRequires);
  lilv_uis_free(uis);
}

TEST_F(Lv2Bundle, MidiAndTheTransportComeInOnOneAtomPortAndMidiGoesOutOnAnother) {
  const LilvPlugin* p = world.Plugin();
  ASSERT_NE(p, nullptr);
  struct TExpected {
    std::uint32_t index;
    const char* symbol;
    const char* direction;
    bool position;
  };
  for (const TExpected& e : {TExpected{formats::lv2::kEventsIn, "midi_in", LV2_CORE__InputPort, true},
                             TExpected{formats::lv2::kEventsOut, "midi_out", LV2_CORE__OutputPort, false}}) {
    const LilvPort* port = lilv_plugin_get_port_by_index(p, e.index);
    EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(p, port)), e.symbol);
    EXPECT_TRUE(lilv_port_is_a(p, port, world.Uri(LV2_ATOM__AtomPort)));
    EXPECT_TRUE(lilv_port_is_a(p, port, world.Uri(e.direction)));
    EXPECT_TRUE(lilv_port_supports_event(p, port, world.Uri(LV2_MIDI__MidiEvent)));
    EXPECT_EQ(lilv_port_supports_event(p, port, world.Uri(LV2_TIME__Position)), e.position);
  }
}

TEST_F(Lv2Bundle, TheSettingsAreTheVst2Parameters) {
  const LilvPlugin* p = world.Plugin();
  ASSERT_NE(p, nullptr);
  platform::test::TTempHome home;
  struct TQuiet : formats::TEffectHost::TListener {
  } quiet;
  formats::TEffectHost host(quiet);
  const auto parameters = formats::DescribeParameters(host.Module());
  for (const auto& parameter : parameters) {
    const LilvPort* port = lilv_plugin_get_port_by_index(p, formats::lv2::kFirstControl + parameter.Index);
    ASSERT_NE(port, nullptr);
    SCOPED_TRACE(parameter.Name);
    EXPECT_TRUE(lilv_port_is_a(p, port, world.Uri(LV2_CORE__ControlPort)));
    EXPECT_TRUE(lilv_port_is_a(p, port, world.Uri(LV2_CORE__InputPort)));
    EXPECT_EQ(lilv_node_as_string(lilv_port_get_symbol(p, port)), parameter.Symbol);
    LilvNode* name = lilv_port_get_name(p, port);
    EXPECT_EQ(lilv_node_as_string(name), host.ParameterName(parameter.Index));
    lilv_node_free(name);
    LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
    lilv_port_get_range(p, port, &def, &min, &max);
    EXPECT_EQ(lilv_node_as_float(def), parameter.Default);
    EXPECT_EQ(lilv_node_as_float(min), parameter.Min);
    EXPECT_EQ(lilv_node_as_float(max), parameter.Max);
    lilv_node_free(def);
    lilv_node_free(min);
    lilv_node_free(max);
    const bool toggle = parameter.Kind == formats::TParameterKind::Toggle;
    const bool choice = parameter.Kind == formats::TParameterKind::Choice;
    EXPECT_EQ(lilv_port_has_property(p, port, world.Uri(LV2_CORE__toggled)), toggle);
    EXPECT_EQ(lilv_port_has_property(p, port, world.Uri(LV2_CORE__integer)), !toggle);
    EXPECT_EQ(lilv_port_has_property(p, port, world.Uri(LV2_CORE__enumeration)), choice);
    // Each list value's text, as the VST 2.x build shows it.
    std::map<float, std::string> points;
    LilvScalePoints* scale = lilv_port_get_scale_points(p, port);
    LILV_FOREACH(scale_points, i, scale) {
      const LilvScalePoint* point = lilv_scale_points_get(scale, i);
      points[lilv_node_as_float(lilv_scale_point_get_value(point))] =
          lilv_node_as_string(lilv_scale_point_get_label(point));
    }
    lilv_scale_points_free(scale);
    std::map<float, std::string> texts;
    for (std::size_t v = 0; v < parameter.Choices.size(); ++v) {
      const float value = parameter.Min + static_cast<float>(v);
      texts[value] = parameter.Choices[v];
      host.SetParameter(parameter.Index, parameter.Normalized(value));
      EXPECT_EQ(parameter.Choices[v], host.ParameterDisplay(parameter.Index));
    }
    EXPECT_EQ(points, texts);
  }
}

TEST_F(Lv2Bundle, TheInitAndDemoPresetsAreLv2Presets) {
  const LilvPlugin* p = world.Plugin();
  ASSERT_NE(p, nullptr);
  LilvNodes* presets = lilv_plugin_get_related(p, world.Uri(LV2_PRESETS__Preset));
  std::set<std::string> labels;
  LILV_FOREACH(nodes, i, presets) {
    const LilvNode* preset = lilv_nodes_get(presets, i);
    lilv_world_load_resource(world.World(), preset);
    LilvNodes* label = lilv_world_find_nodes(world.World(), preset, world.Uri(LILV_NS_RDFS "label"), nullptr);
    ASSERT_EQ(lilv_nodes_size(label), 1u);
    labels.insert(lilv_node_as_string(lilv_nodes_get_first(label)));
    lilv_nodes_free(label);
  }
  lilv_nodes_free(presets);
  std::set<std::string> expected = {"Init"};
  for (const auto& file : std::filesystem::directory_iterator(VORNIX_PRESETS_DIR))
    if (file.path().extension() == ".orvanep") expected.insert(file.path().stem().string());
  EXPECT_EQ(labels, expected);
  EXPECT_GE(labels.size(), 3u);
}

}  // namespace
}  // namespace vornix::testing::lv2
