// Where the program keeps its files: the executable's directory, found by the
// rule the settings file and the report share.
#pragma once

#include <string>
#include <string_view>

namespace talvor::platform {

// The directory part of an executable's full path: up to its last separator
// or colon; that separator is dropped unless it directly follows a colon or
// another separator (a drive root keeps its backslash). Separators are "\"
// and, off Windows, "/". When cp932 is set, a 0x5C byte that is the second
// byte of a double-byte character is no separator.
std::string DirectoryOf(std::string_view path, bool cp932 = false);

// dir + separator + name, where the separator is "\" on Windows and "/"
// elsewhere. Always joined, so a drive root gives two backslashes in a row,
// which Windows reads as one.
std::string JoinPath(std::string_view dir, std::string_view name);

// Where a file of the program lives: beside the executable (found through
// Application->ExeName()). Off Windows, when that directory is not writable
// (an installed copy), settings go to $XDG_CONFIG_HOME/talvor (else
// ~/.config/talvor) and the report to $XDG_CACHE_HOME/talvor (else
// ~/.cache/talvor), created when missing.
enum class TFileRole { Settings, Report };
std::string ProgramFilePath(std::string_view name, TFileRole role);

}  // namespace talvor::platform
