// Profile (INI) files with the semantics of the Windows profile functions.
//
// On Windows the backend calls GetPrivateProfileIntW and
// WritePrivateProfileStringW; elsewhere IniDocument below does the work.
// File names are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talvor::platform {

// The key's value read as an integer the way Windows reads it: optional
// blanks, an optional minus, digits up to the first non-digit (wrapping to
// 32 bits); the default when the file, section or key is missing or the
// value is empty.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& fileName);

// Replaces the key's value in place, appends a missing key at the end of its
// section, creates the section and the file when missing, and leaves every
// other byte of the file unchanged. The new file is written beside the old
// one and renamed over it. Returns false when anything failed.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& fileName);

// The text model behind both functions where the OS has none. Lines end at
// LF, CR LF or CR; section and key names compare without regard to ASCII
// case; the first of duplicate sections or keys wins.
class IniDocument {
 public:
  explicit IniDocument(std::string text = {});
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  const std::string& Text() const { return m_text; }

 private:
  std::string m_text;
};

// The integer reading rule on its own.
int ParseProfileInt(std::string_view value, int defaultValue);

}  // namespace talvor::platform
