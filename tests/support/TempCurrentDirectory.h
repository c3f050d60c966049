#pragma once

#include <filesystem>

namespace pagetap::test {

// Makes a fresh empty directory the current one for the life of the object, so that files
// the program writes beside itself (the cookie file) land there; then goes back and removes it.
class TempCurrentDirectory {
 public:
  TempCurrentDirectory();
  ~TempCurrentDirectory();
  TempCurrentDirectory(const TempCurrentDirectory&) = delete;
  TempCurrentDirectory& operator=(const TempCurrentDirectory&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_previous;
  std::filesystem::path m_path;
};

}  // namespace pagetap::test
