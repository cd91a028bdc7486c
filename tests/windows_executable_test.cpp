// What Windows reads from the built executable before running it: the icon,
// the version record and the manifest. The executable is named by the test's
// arguments, relative to the working folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring program_path;

class WindowsExecutable : public ::testing::Test {
 protected:
  void SetUp() override {
    if (program_path.empty()) GTEST_SKIP() << "no executable named on the command line";
  }
};

std::wstring VersionText(const std::vector<BYTE>& record, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
  if (!::VerQueryValueW(record.data(), query.c_str(), &value, &length) || length == 0) return {};
  return std::wstring(static_cast<const wchar_t*>(value), length - 1);
}

TEST_F(WindowsExecutable, CarriesTheVersionRecord) {
  DWORD unused = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(program_path.c_str(), &unused);
  ASSERT_GT(size, 0U);
  std::vector<BYTE> record(size);
  ASSERT_TRUE(::GetFileVersionInfoW(program_path.c_str(), 0, size, record.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000U);
  EXPECT_EQ(fixed->dwFileVersionLS, 0U);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000U);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));

  WORD* translation = nullptr;
  ASSERT_TRUE(::VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4U);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 0x04B0);
  for (const wchar_t* name : {L"FileDescription", L"ProductName", L"Comments"}) {
    EXPECT_EQ(VersionText(record, name), L"QELVOR TOOL V1.0") << name;
  }
  EXPECT_EQ(VersionText(record, L"FileVersion"), L"1.0.0.0");
}

TEST_F(WindowsExecutable, CarriesItsIconAndACommonControlsManifestForAnyArchitecture) {
  const HMODULE module = ::LoadLibraryExW(program_path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  const auto resource_id = [](WORD id) {
    return reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(id));
  };
  EXPECT_NE(::FindResourceW(module, resource_id(1), resource_id(14)), nullptr)
      << "icon group 1 (RT_GROUP_ICON)";
  const HRSRC manifest = ::FindResourceW(module, resource_id(1), resource_id(24));
  ASSERT_NE(manifest, nullptr) << "manifest 1 (RT_MANIFEST)";
  const auto* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, manifest)));
  const std::string text(bytes, ::SizeofResource(module, manifest));
  // The dependency's own identity element, whatever its layout.
  const auto begin = text.find("name=\"Microsoft.Windows.Common-Controls\"");
  ASSERT_NE(begin, std::string::npos) << text;
  const std::string identity = text.substr(begin, text.find("/>", begin) - begin);
  EXPECT_NE(identity.find("version=\"6.0.0.0\""), std::string::npos) << identity;
  EXPECT_NE(identity.find("processorArchitecture=\"*\""), std::string::npos)
      << "an x86 dependency keeps a 64-bit program from starting: " << identity;
  ::FreeLibrary(module);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    const std::string path = argv[1];
    program_path.assign(path.begin(), path.end());
  }
  return RUN_ALL_TESTS();
}
