#include "platform/ThreadCheck.h"

#include <cstdio>
#include <cstdlib>

namespace vornix::platform {

void TThreadCheck::Fail(const char* entry) {
  std::fprintf(stderr, "Vornix: %s called on a thread that does not own the editor\n", entry);
  std::fflush(stderr);
  std::abort();
}

}  // namespace vornix::platform
