// Profile files on Windows. Reading is Windows' own GetPrivateProfileIntW.
// Writing goes through the INI text model and a replace: Windows'
// WritePrivateProfileStringW may rewrite the whole file (Wine's drops its
// blank lines) and writes in place, so a failure half-way could leave half a
// settings file; here every other byte stays as it was and the old file
// stays whole until the new one is complete.
#include <cstdio>
#include <string>

#include "platform/file_write.h"
#include "platform/profile.h"
#include "platform/win32/wide.h"

#include "platform/win32/win32_api.h"

namespace talvor::platform {
namespace {

enum class ReadOutcome { Read, Missing, Failed };

ReadOutcome ReadWholeFile(const std::wstring& fileName, std::string& text) {
  const DWORD attributes = GetFileAttributesW(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadOutcome::Missing
                                                                          : ReadOutcome::Failed;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ReadOutcome::Failed;
  std::FILE* file = _wfopen(fileName.c_str(), L"rb");
  if (!file) return ReadOutcome::Failed;
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? ReadOutcome::Failed : ReadOutcome::Read;
}

}  // namespace

int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& fileName) {
  const std::wstring wideFile = win32::Wide(fileName);
  return static_cast<int>(GetPrivateProfileIntW(
      win32::Wide(section).c_str(), win32::Wide(key).c_str(), defaultValue, wideFile.c_str()));
}

bool WritePrivateProfileString(const std::string& section, const std::string& key,
                               const std::string& value, const std::string& fileName) {
  const std::wstring wideFile = win32::Wide(fileName);
  std::string text;
  if (ReadWholeFile(wideFile, text) == ReadOutcome::Failed) return false;
  IniDocument document(std::move(text));
  if (!document.Set(section, key, value)) return false;

  const std::string temporary = fileName + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
  const std::wstring wideTemporary = win32::Wide(temporary);
  if (!WriteFileBytes(temporary, document.Text()) ||
      !MoveFileExW(wideTemporary.c_str(), wideFile.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(wideTemporary.c_str());
    return false;
  }
  return true;
}

}  // namespace talvor::platform
