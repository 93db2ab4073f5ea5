// The editor's client size at 100 %, known to hosts before the editor opens; zoomed, it grows
// with the zoom (TVSTPluginBase::EditorSizeAt).
#pragma once

namespace vornix::plugin {

constexpr int kEditorWidth = 786;
constexpr int kEditorHeight = 421;

}  // namespace vornix::plugin
