// vornix-render: runs the plug-in without a DAW, through its real entry point.
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "hostkit/PluginHost.h"
#include "render/Info.h"

namespace {

void Usage(std::ostream& out) {
  out << "usage: vornix-render --info PLUGIN.so\n"
         "  --info   load the plug-in and print its identity, capabilities and parameters\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--info") == 0) {
    try {
      vornix::hostkit::PluginHost host(argv[2]);
      if (host.Create() == nullptr) {
        std::cerr << "vornix-render: the plug-in refused to start\n";
        return 1;
      }
      host.Dispatch(vst::effOpen);
      vornix::render::PrintInfo(host, std::cout);
      return 0;
    } catch (const std::exception& e) {
      std::cerr << "vornix-render: " << e.what() << "\n";
      return 1;
    }
  }
  Usage(argc > 1 && std::strcmp(argv[1], "--help") == 0 ? std::cout : std::cerr);
  return argc > 1 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
}
