// Where the program keeps its files: the executable's directory, found by the
// rule the settings file and the report share.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvor::platform {

// The directory part of an executable's full path: up to its last separator
// or colon; that separator is dropped unless it directly follows a colon or
// another separator (a drive root keeps its backslash) or starts the path
// (the root keeps its slash). No separator or colon at all gives "".
// Separators are "\" and, off Windows, "/"; off Windows a path that starts
// with "/" is a POSIX path, where "\" and ":" are ordinary characters of a
// name. When cp932 is set, a 0x5C byte that is the second byte of a
// double-byte character is no separator.
std::string DirectoryOf(std::string_view path, bool cp932 = false);

// dir + separator + name, where the separator is "\" on Windows and "/"
// elsewhere. Always joined, so a drive root gives two backslashes in a row,
// which Windows reads as one. Off Windows a dir that already ends in "/"
// gets no second one, since POSIX leaves the meaning of "//" at the start of
// a path open.
std::string JoinPath(std::string_view dir, std::string_view name);

// Where a file of the program lives: beside the executable (found through
// Application->ExeName()). Off Windows, when that directory is not writable
// (an installed copy), settings go to $XDG_CONFIG_HOME/talvor (else
// ~/.config/talvor) and the report to $XDG_CACHE_HOME/talvor (else
// ~/.cache/talvor), created when missing.
enum class TFileRole { Settings, Report };
std::string ProgramFilePath(std::string_view name, TFileRole role);

// The directory part of ProgramFilePath, without the application object.
// On Windows it is always exeDir.
std::string ProgramFileDirectory(std::string_view exeDir, TFileRole role);

// The same with the environment given rather than read: values that are
// unset are nullopt. Off Windows, when exeDir is not writable or is a
// directory programs are installed into (/usr/bin, /usr/local/bin, the
// build's install directory), the XDG directory of the role (an unset,
// empty or relative value counts as unset)
// or the one under home; the directory is created with mode 0700 when
// missing. When no usable home is given or the directory cannot be made,
// exeDir after all: the write there fails and is reported by the caller.
struct TFileEnvironment {
  std::optional<std::string> xdgConfigHome;
  std::optional<std::string> xdgCacheHome;
  std::optional<std::string> home;
};
std::string ProgramFileDirectory(std::string_view exeDir, TFileRole role,
                                 const TFileEnvironment& env);

}  // namespace talvor::platform
