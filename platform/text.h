// The one seam where text crosses between UTF-8 (forms, platform contract,
// files a person edits) and code page 932 (the time arithmetic, the report).
//
// A character that CP932 cannot hold becomes "?" (0x3F), as does a byte that
// is not valid UTF-8; a CP932 byte sequence with no Unicode meaning becomes
// U+FFFD on the way back. ASCII passes through both ways unchanged. The
// Append forms reuse the caller's buffer, for hot loops.
#pragma once

#include <string>
#include <string_view>

namespace talvor::platform {

std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);

void AppendUtf8AsCp932(std::string_view utf8, std::string& out);
void AppendCp932AsUtf8(std::string_view cp932, std::string& out);

// True when every byte is below 0x80: such text is the same in both encodings.
bool IsAscii(std::string_view text) noexcept;

}  // namespace talvor::platform
