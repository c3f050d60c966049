#include "tests/support/TempCurrentDirectory.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace pagetap::test {

TempCurrentDirectory::TempCurrentDirectory() : m_previous(std::filesystem::current_path()) {
  std::string name = (std::filesystem::temp_directory_path() / "pagetap-test-XXXXXX").string();
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("mkdtemp failed");
  m_path = buffer.data();
  std::filesystem::current_path(m_path);
}

TempCurrentDirectory::~TempCurrentDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(m_previous, ignored);
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace pagetap::test
