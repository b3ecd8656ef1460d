// Skyplate.exe's version record says the version the program holds: both
// come from the project's version, through different compilers.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ui/program_values.h"

namespace skyplate {
namespace {

class VersionRecord : public ::testing::Test {
 protected:
  void SetUp() override {
    char test_path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, test_path, sizeof(test_path));
    const std::string program =
        std::filesystem::path(test_path).replace_filename("Skyplate.exe").string();
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), nullptr);
    ASSERT_NE(size, 0u) << program;
    record_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, record_.data()));
  }

  const VS_FIXEDFILEINFO* Fixed() {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(record_.data(), "\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
      return nullptr;
    return static_cast<const VS_FIXEDFILEINFO*>(value);
  }

  std::string Text(const std::string& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueA(record_.data(), path.c_str(), &value, &length)) return "<none>";
    return static_cast<const char*>(value);
  }

  std::vector<char> record_;
};

std::string Dotted(VersionNumbers version) {
  return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.build) + "." + std::to_string(version.revision);
}

TEST_F(VersionRecord, NumbersAreTheProgramsVersionNumbers) {
  const VS_FIXEDFILEINFO* fixed = Fixed();
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(kFileVersion.minor, kFileVersion.major));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(kFileVersion.revision, kFileVersion.build));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(kProductVersion.minor, kProductVersion.major));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(kProductVersion.revision, kProductVersion.build));
}

TEST_F(VersionRecord, TextsSpellTheSameNumbers) {
  EXPECT_EQ(Text("FileVersion"), "1.0.2.109");
  EXPECT_EQ(Text("FileVersion"), Dotted(kFileVersion));
  EXPECT_EQ(Text("ProductVersion"), "1.0.2.0");
  EXPECT_EQ(Text("ProductVersion"), Dotted(kProductVersion));
}

}  // namespace
}  // namespace skyplate
