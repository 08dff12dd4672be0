// A private directory for one test, removed with everything in it at the end,
// and whole-file helpers that read and write bytes unchanged.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace talvor::testing_support {

inline std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

class TempDir {
 public:
  TempDir() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (;;) {
      m_path = std::filesystem::temp_directory_path() /
               ("talvor-test-" + std::to_string(random() % 1000000000000ull));
      if (std::filesystem::create_directory(m_path)) break;
    }
  }
  ~TempDir() {
    std::error_code ignored;
    // A test may leave a directory read-only; it must still go.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored)) {
      if (entry.is_directory(ignored)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
      }
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  // A path inside the directory, as the UTF-8 text the platform layer takes.
  std::string File(const std::string& name) const { return Utf8(m_path / name); }

 private:
  std::filesystem::path m_path;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())),
                   std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(std::u8string(path.begin(), path.end())),
                    std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace talvor::testing_support
