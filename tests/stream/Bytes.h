#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace vornix::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Ascii(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace vornix::test
