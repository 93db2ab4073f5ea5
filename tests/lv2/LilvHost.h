// A host built on Debian's lilv: the built bundle in a world of its own (with the specifications the
// system has), and an instance with every port connected, as LV2 hosts run it.
#pragma once

#include <gtest/gtest.h>
#include <lilv/lilv.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "Atoms.h"
#include "formats/lv2/Ports.h"

namespace vornix::testing::lv2 {

// The world sees the build's bundle and the system's own (the specifications), nothing else.
class TWorld {
 public:
  TWorld() : world_(lilv_world_new()) {
    const std::string path = std::filesystem::path(VORNIX_LV2_BUNDLE).parent_path().string() + ":/usr/lib/lv2";
    LilvNode* value = lilv_new_string(world_, path.c_str());
    lilv_world_set_option(world_, LILV_OPTION_LV2_PATH, value);
    lilv_node_free(value);
    lilv_world_load_all(world_);
    LilvNode* uri = lilv_new_uri(world_, formats::lv2::kPluginUri);
    plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), uri);
    lilv_node_free(uri);
  }
  ~TWorld() {
    for (LilvNode* n : nodes_) lilv_node_free(n);
    lilv_world_free(world_);
  }
  TWorld(const TWorld&) = delete;
  TWorld& operator=(const TWorld&) = delete;

  LilvWorld* World() const { return world_; }
  const LilvPlugin* Plugin() const { return plugin_; }
  // A node that lives as long as the world.
  const LilvNode* Uri(const std::string& uri) { return nodes_.emplace_back(lilv_new_uri(world_, uri.c_str())); }

 private:
  LilvWorld* world_;
  const LilvPlugin* plugin_ = nullptr;
  std::vector<LilvNode*> nodes_;
};

// An instance of the plug-in with its two atom ports and 72 controls connected.
class TInstance {
 public:
  static constexpr double kRate = 48000.0;
  static constexpr std::int32_t kMaxBlock = 4096;

  TInstance(TWorld& world, TUridMap& map) : world_(world), map_(map), in_(map) {
    options_ = {LV2_Options_Option{LV2_OPTIONS_INSTANCE, 0, map.Map(LV2_BUF_SIZE__maxBlockLength), sizeof(std::int32_t),
                                   map.Map(LV2_ATOM__Int), &maxBlock_},
                LV2_Options_Option{LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    instance_ = lilv_plugin_instantiate(world.Plugin(), kRate, features_.data());
    if (instance_ == nullptr) throw std::runtime_error("the plug-in did not instantiate");
    lilv_instance_connect_port(instance_, formats::lv2::kEventsIn, in_.Sequence());
    lilv_instance_connect_port(instance_, formats::lv2::kEventsOut, out_.Sequence());
    for (std::uint32_t i = 0; i < controls_.size(); ++i) {
      const LilvPort* port = lilv_plugin_get_port_by_index(world.Plugin(), formats::lv2::kFirstControl + i);
      LilvNode* def = nullptr;
      lilv_port_get_range(world.Plugin(), port, &def, nullptr, nullptr);
      controls_[i] = lilv_node_as_float(def);
      lilv_node_free(def);
      lilv_instance_connect_port(instance_, formats::lv2::kFirstControl + i, &controls_[i]);
    }
    lilv_instance_activate(instance_);
  }
  ~TInstance() {
    lilv_instance_deactivate(instance_);
    lilv_instance_free(instance_);
  }
  TInstance(const TInstance&) = delete;
  TInstance& operator=(const TInstance&) = delete;

  LilvInstance* Instance() const { return instance_; }
  TInput& In() { return in_; }
  float& Control(int parameter) { return controls_[static_cast<std::size_t>(parameter)]; }
  const LV2_Feature* const* Features() const { return features_.data(); }

  // One block; what came out, the input emptied for the next.
  std::vector<TOut> Run(std::uint32_t frames) {
    out_.Prepare();
    lilv_instance_run(instance_, frames);
    in_.Clear();
    return out_.Events(map_);
  }

  // The state through the plug-in's state interface, as its bytes.
  std::vector<std::uint8_t> SaveChunk() {
    TProperty p{&map_, {}, 0};
    const auto* state = State();
    EXPECT_EQ(state->save(lilv_instance_get_handle(instance_), &TProperty::Store, &p, 0, features_.data()),
              LV2_STATE_SUCCESS);
    EXPECT_EQ(p.type, map_.Map(LV2_ATOM__Chunk));
    return p.bytes;
  }
  LV2_State_Status RestoreChunk(const std::vector<std::uint8_t>& bytes) {
    TProperty p{&map_, bytes, map_.Map(LV2_ATOM__Chunk)};
    return State()->restore(lilv_instance_get_handle(instance_), &TProperty::Retrieve, &p, 0, features_.data());
  }
  // A state lilv made (a preset, a host's saved state), ports and all.
  void Restore(const LilvState* state) {
    lilv_state_restore(state, instance_, &TInstance::SetPort, this, 0, features_.data());
  }
  static void SetPort(const char* symbol, void* self, const void* value, std::uint32_t size, std::uint32_t type) {
    auto& instance = *static_cast<TInstance*>(self);
    LilvNode* name = lilv_new_string(instance.world_.World(), symbol);
    const LilvPort* port = lilv_plugin_get_port_by_symbol(instance.world_.Plugin(), name);
    lilv_node_free(name);
    ASSERT_NE(port, nullptr) << symbol;
    ASSERT_EQ(size, sizeof(float));
    ASSERT_EQ(type, instance.map_.Map(LV2_ATOM__Float));
    const std::uint32_t index = lilv_port_get_index(instance.world_.Plugin(), port);
    instance.controls_[index - formats::lv2::kFirstControl] = *static_cast<const float*>(value);
  }
  static const void* GetPort(const char* symbol, void* self, std::uint32_t* size, std::uint32_t* type) {
    auto& instance = *static_cast<TInstance*>(self);
    LilvNode* name = lilv_new_string(instance.world_.World(), symbol);
    const LilvPort* port = lilv_plugin_get_port_by_symbol(instance.world_.Plugin(), name);
    lilv_node_free(name);
    const std::uint32_t index = lilv_port_get_index(instance.world_.Plugin(), port);
    if (index < formats::lv2::kFirstControl) return nullptr;
    *size = sizeof(float);
    *type = instance.map_.Map(LV2_ATOM__Float);
    return &instance.controls_[index - formats::lv2::kFirstControl];
  }

 private:
  struct TProperty {
    TUridMap* map;
    std::vector<std::uint8_t> bytes;
    LV2_URID type = 0;
    static LV2_State_Status Store(LV2_State_Handle self, std::uint32_t key, const void* value, std::size_t size,
                                  std::uint32_t type, std::uint32_t) {
      auto& p = *static_cast<TProperty*>(self);
      EXPECT_EQ(key, p.map->Map(formats::lv2::kStateUri));
      const auto* b = static_cast<const std::uint8_t*>(value);
      p.bytes.assign(b, b + size);
      p.type = type;
      return LV2_STATE_SUCCESS;
    }
    static const void* Retrieve(LV2_State_Handle self, std::uint32_t key, std::size_t* size, std::uint32_t* type,
                                std::uint32_t* flags) {
      auto& p = *static_cast<TProperty*>(self);
      if (key != p.map->Map(formats::lv2::kStateUri)) return nullptr;
      *size = p.bytes.size();
      *type = p.type;
      *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
      return p.bytes.data();
    }
  };
  const LV2_State_Interface* State() const {
    return static_cast<const LV2_State_Interface*>(lilv_instance_get_extension_data(instance_, LV2_STATE__interface));
  }

  TWorld& world_;
  TUridMap& map_;
  std::int32_t maxBlock_ = kMaxBlock;
  std::array<LV2_Options_Option, 2> options_{};
  LV2_Feature mapFeature_{LV2_URID__map, map_.MapFeature()};
  LV2_Feature unmapFeature_{LV2_URID__unmap, map_.UnmapFeature()};
  LV2_Feature optionsFeature_{LV2_OPTIONS__options, options_.data()};
  std::array<const LV2_Feature*, 4> features_{&mapFeature_, &unmapFeature_, &optionsFeature_, nullptr};
  LilvInstance* instance_ = nullptr;
  TInput in_;
  TOutput out_;
  std::array<float, plugin::kParameterCount> controls_{};
};

}  // namespace vornix::testing::lv2
