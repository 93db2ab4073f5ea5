// The editor's client size, known to hosts before the editor opens.
#pragma once

namespace vornix::plugin {

constexpr int kEditorWidth = 786;
constexpr int kEditorHeight = 421;

}  // namespace vornix::plugin
