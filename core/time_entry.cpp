#include "core/time_entry.h"

#include "core/entry_scan.h"

namespace talvor {

ParseResult ParseTimeEntry(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* stop = nullptr;
  return detail::ScanEntry(p, p + text.size(), stop);
}

}  // namespace talvor
