#include "platform/paths.h"

#include <cstdlib>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace talvor::platform {
namespace {

bool IsCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
bool IsCp932TrailByte(unsigned char c) {
  return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

}  // namespace

std::string DirectoryOf(std::string_view path, bool cp932) {
  bool posixPath = false;
#ifndef _WIN32
  posixPath = path.starts_with('/');
#endif
  const auto isSeparator = [posixPath](char c) {
    if (posixPath) return c == '/';
#ifdef _WIN32
    return c == '\\';
#else
    return c == '\\' || c == '/';
#endif
  };
  const auto isDelimiter = [&](char c) { return isSeparator(c) || (!posixPath && c == ':'); };

  std::size_t last = std::string_view::npos;
  // Whether the character before the last delimiter is a delimiter itself,
  // tracked by character so the trail byte of a double-byte character never
  // counts as one.
  bool lastFollowsDelimiter = false;
  bool previousIsDelimiter = false;
  for (std::size_t i = 0; i < path.size();) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (cp932 && IsCp932LeadByte(c) && i + 1 < path.size() &&
        IsCp932TrailByte(static_cast<unsigned char>(path[i + 1]))) {
      previousIsDelimiter = false;
      i += 2;
      continue;
    }
    const bool delimiter = isDelimiter(path[i]);
    if (delimiter) {
      last = i;
      lastFollowsDelimiter = previousIsDelimiter;
    }
    previousIsDelimiter = delimiter;
    ++i;
  }
  if (last == std::string_view::npos) return {};
  const bool keep = !isSeparator(path[last]) || last == 0 || lastFollowsDelimiter;
  return std::string(path.substr(0, keep ? last + 1 : last));
}

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string joined(dir);
#ifdef _WIN32
  joined += '\\';
#else
  if (joined.empty() || joined.back() != '/') joined += '/';
#endif
  joined += name;
  return joined;
}

#ifdef _WIN32

std::string ProgramFileDirectory(std::string_view exeDir, TFileRole) {
  return std::string(exeDir);
}

std::string ProgramFileDirectory(std::string_view exeDir, TFileRole, const TFileEnvironment&) {
  return std::string(exeDir);
}

#else

namespace {

bool IsAbsolute(const std::optional<std::string>& value) {
  return value && !value->empty() && value->front() == '/';
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// mkdir -p, every missing level private to the user.
bool MakeDirectories(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    // An existing level may still refuse mkdir with another error than
    // EEXIST (a read-only mount), so what counts is that it is there.
    if (!prefix.empty() && prefix.back() != '/' && ::mkdir(prefix.c_str(), 0700) != 0 &&
        !IsDirectory(prefix)) {
      return false;
    }
    if (slash == std::string::npos) break;
  }
  return IsDirectory(path);
}

// The directories programs are installed into: a copy there is shared by
// every user, so even one who may write there (the superuser) keeps its
// files in their own home. TALVOR_INSTALL_BINDIR is the build's own choice.
bool IsSystemProgramDirectory(std::string_view dir) {
  static constexpr std::string_view kSystemDirs[] = {"/usr/bin", "/usr/local/bin", "/bin",
                                                     "/usr/games", "/usr/local/games"};
  for (const std::string_view system : kSystemDirs)
    if (dir == system) return true;
#ifdef TALVOR_INSTALL_BINDIR
  if (dir == TALVOR_INSTALL_BINDIR) return true;
#endif
  return false;
}

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

}  // namespace

std::string ProgramFileDirectory(std::string_view exeDir, TFileRole role,
                                 const TFileEnvironment& env) {
  std::string fallback(exeDir);
  if (!fallback.empty() && !IsSystemProgramDirectory(fallback) &&
      ::access(fallback.c_str(), W_OK) == 0)
    return fallback;

  const std::optional<std::string>& xdg =
      role == TFileRole::Settings ? env.xdgConfigHome : env.xdgCacheHome;
  std::string base;
  if (IsAbsolute(xdg)) {
    base = *xdg;
  } else if (IsAbsolute(env.home)) {
    base = JoinPath(*env.home, role == TFileRole::Settings ? ".config" : ".cache");
  } else {
    return fallback;
  }
  std::string dir = JoinPath(base, "talvor");
  return MakeDirectories(dir) ? dir : fallback;
}

std::string ProgramFileDirectory(std::string_view exeDir, TFileRole role) {
  return ProgramFileDirectory(
      exeDir, role,
      {Environment("XDG_CONFIG_HOME"), Environment("XDG_CACHE_HOME"), Environment("HOME")});
}

#endif

}  // namespace talvor::platform
