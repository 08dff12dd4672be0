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

// The key's value read as an integer the way Windows reads it (see
// ParseProfileInt); the default when the file, section or key is missing,
// when the file cannot be read or is no regular file, or when the value is
// empty.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& fileName);

// Replaces the key's value in place, appends a missing key at the end of its
// section, creates the section and the file when missing, and leaves every
// other byte of the file unchanged. The new file is written beside the old
// one and renamed over it, so a failed write leaves the old file as it was.
// Returns false when anything failed, including names or a value that cannot
// be stored (see IniDocument::Set) and an existing file we may not write.
bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& fileName);

// The text model behind both functions where the OS has none: finds and
// edits one key in the text of an INI file. It does not touch the file
// system and knows nothing of integers.
//
// Reading: lines end at LF, CR LF or CR; a UTF-8 byte-order mark at the start
// is skipped. A line whose first non-blank byte is "[" and which holds a "]"
// names a section: the text up to the last "]". Other lines are keys: the
// text before the first "=" is the name, the rest the value; a line without
// "=" is a key without a value, which reads as missing. Names and values
// lose the blanks around them, section and key names compare without regard
// to ASCII case, and a value enclosed in a pair of matching quotes (" or ')
// loses them. Only the first section of a name is looked at, and in it the
// first line of the key. Lines before the first section belong to none.
//
// Writing changes only the bytes of the one key: the value of an existing
// key is replaced in place (the blanks after "=" stay unless the new value
// is empty or begins with blanks itself, the blanks after the old value go).
// A missing key gets a new line right after the last non-blank line of its
// section, so blank lines before the next section stay there. A missing
// section goes at the end of the text, after a line break when the text does
// not end in one. New lines end with the line break the text already uses
// (its first one: CR LF, LF or CR), or with the native one (CR LF on Windows,
// LF elsewhere) when it has none.
class IniDocument {
 public:
  explicit IniDocument(std::string text = {});
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // False, with the text unchanged, when the names or the value cannot be
  // stored so that they read back the same: an empty name, a line break in
  // any of them, "=" in the key, or a key beginning with "[".
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  const std::string& Text() const { return m_text; }

 private:
  std::string m_text;
};

// The integer reading rule on its own, as Windows reads a profile integer:
// optional leading blanks, an optional "-" or "+", then decimal digits up to
// the first non-digit, wrapping to 32 bits in two's complement. An empty or
// all-blank value gives the default; a value without digits gives 0.
int ParseProfileInt(std::string_view value, int defaultValue);

}  // namespace talvor::platform
