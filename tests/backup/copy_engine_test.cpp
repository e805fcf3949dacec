// The copy engine on real trees, without a window.
#include "backup/copy_engine.h"

#include <windows.h>

#include "backup_fixture.h"

namespace backup_testing {
namespace {

using testing_support::SetAttributes;

class CopyEngineTest : public FilesTest {
 protected:
  CopyEngineTest() { engine.yield_every = std::chrono::milliseconds(0); }

  // Copies a source as one row does, with its log in target.
  void Copy(const std::wstring& source, bool is_file = false) {
    testing_support::MakeFolders(target);
    ASSERT_TRUE(log.Open(target + L"\\"));
    engine.SetRow([this](double bytes) { progress.push_back(bytes); }, &log);
    engine.CopySource(source, dst, is_file);
    log.Close();
  }

  backup::RunFlags flags;
  backup::BackupLog log;
  backup::CopyEngine engine{flags, texts.run.copy};
  std::vector<double> progress;
};

TEST_F(CopyEngineTest, CopiesAndMergesTheTreeByteForByteWithoutSystemEntries) {
  std::wstring deep = L"\\Sub";  // past 260 characters, each name within the limit
  for (int i = 0; i < 4; ++i) deep += L"\\" + std::wstring(80, static_cast<wchar_t>(L'k' + i));
  const std::wstring copied[] = {deep + L"\\long.bin", L"\\hidden.txt", L"\\.cache\\entry",
                                 L"\\\u0416\u4E2D\u03A9.txt"};  // outside the code page
  for (const std::wstring& name : copied) WriteFile(src + name, std::string(70000, name[3]));
  SetAttributes(src + L"\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  WriteFile(src + L"\\desktop.ini", "[system]");
  SetAttributes(src + L"\\desktop.ini", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  WriteFile(src + L"\\SysDir\\inside.txt", "system folder");
  SetAttributes(src + L"\\SysDir", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY);
  testing_support::MakeFolders(src + L"\\Empty");
  WriteFile(dst + L"\\hidden.txt", std::string(90000, 'o'));  // older, read-only, longer
  SetAttributes(dst + L"\\hidden.txt", FILE_ATTRIBUTE_READONLY);
  WriteFile(dst + L"\\Sub\\keep.txt", "kept");
  flags.bytes_copied = 3000000000u;  // as if earlier rows came to that: past 32 bits

  Copy(src);

  for (const std::wstring& name : copied) EXPECT_TRUE(ReadFile(dst + name) == ReadFile(src + name));
  EXPECT_EQ(ReadFile(dst + L"\\Sub\\keep.txt"), "kept");
  EXPECT_FALSE(platform::FileExists(dst + L"\\hidden.txt" + backup::CopyEngine::kPartSuffix));
  EXPECT_TRUE(platform::FolderExists(dst + L"\\Empty"));
  EXPECT_FALSE(platform::FileExists(dst + L"\\desktop.ini") ||
               platform::FolderExists(dst + L"\\SysDir"));
  EXPECT_EQ(LogLines(target).size(), 8u + 4u) << "a line for each folder and file, none for system entries";
  EXPECT_DOUBLE_EQ(progress.back(), 3000000000.0 + 4 * 70000);
  EXPECT_TRUE(!flags.file_error && dialogs.boxes.empty());
}

TEST_F(CopyEngineTest, AMailStoreCopiesOnlyItsFile) {
  WriteFile(temp / L"Mail\\personal.pst", "store");
  WriteFile(temp / L"Mail\\other.pst", "not this one");
  Copy(temp / L"Mail\\personal.pst", true);
  EXPECT_EQ(ReadFile(dst + L"\\personal.pst"), "store");
  EXPECT_FALSE(platform::FileExists(dst + L"\\other.pst"));
  EXPECT_EQ(LogLines(target), (std::vector<std::wstring>{L"Folder: " + temp / L"Mail\\",
                                                         L"personal.pst\t-->file copied"}));
}

TEST_F(CopyEngineTest, WhatCannotLandFailsAloneNamesTheSystemWouldRewriteAndLinks) {
  WriteFile(src + L"\\report.", "with a dot");  // kept apart only in the "\\?\" form
  WriteFile(src + L"\\report", "without");
  WriteFile(src + L"\\zz\\inner.txt", "gone");
  WriteFile(src + L"\\Sub\\x.txt", "blocked");
  WriteFile(dst + L"\\Sub", "a file in the folder's way");
  // As on a case-sensitive share: two names, one destination file.
  if (!testing_support::RunInLinuxShell(src, "echo one > Case && echo two > CASE && ln -s . loop"))
    GTEST_SKIP() << "needs Wine's Linux shell";
  EXPECT_EQ(sources::FolderSize(src + L"\\"), 10 + 7 + 4 + 7 + 4 + 4) << "the link is not counted";
  // zz goes away after its parent listed it, as a folder the user may not read.
  engine.yield = [&] { testing_support::RemoveTree(src + L"\\zz"); };
  Copy(src);
  testing_support::RunInLinuxShell(src, "rm loop");
  EXPECT_EQ(ReadFile(dst + L"\\report."), "with a dot");
  EXPECT_EQ(ReadFile(dst + L"\\report"), "without");
  const std::vector<std::wstring> lines = LogLines(target);
  EXPECT_TRUE(Has(lines, L"Case\t-->*not copied*") != Has(lines, L"CASE\t-->*not copied*"));
  EXPECT_TRUE(Has(lines, src + L"\\loop\\\t-->link skipped"));
  EXPECT_FALSE(platform::FolderExists(dst + L"\\loop"));
  EXPECT_TRUE(Has(lines, src + L"\\zz\\\t-->*not copied*"));
  EXPECT_TRUE(Has(lines, src + L"\\Sub\\\t-->*not copied*"));
  EXPECT_TRUE(flags.file_error && !flags.target_error);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(CopyEngineTest, ACancelledLargeFileLeavesTheOlderCopyAndNoPartFile) {
  // Over one chunk: a cancel is heard inside the file whatever the system's copy calls back.
  const std::string big(backup::CopyEngine::kChunkBytes * 2 + 12345, 'n');
  WriteFile(src + L"\\big.bin", big);
  WriteFile(dst + L"\\big.bin", "old good copy");
  const std::wstring part = dst + L"\\big.bin" + backup::CopyEngine::kPartSuffix;
  engine.yield = [&] { flags.cancel_requested |= platform::FileExists(part); };
  Copy(src);
  EXPECT_TRUE(flags.cancel_requested);
  EXPECT_EQ(ReadFile(dst + L"\\big.bin"), "old good copy");
  EXPECT_FALSE(platform::FileExists(part));
  EXPECT_EQ(LogLines(target).back(), L"big.bin\t-->user cancelled");

  // Uncancelled, it replaces a read-only older copy with the system's copy's attributes and times.
  flags.cancel_requested = false;
  engine.yield = [] {};
  SetAttributes(dst + L"\\big.bin", FILE_ATTRIBUTE_READONLY);
  SetAttributes(src + L"\\big.bin", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  Copy(src);
  EXPECT_TRUE(ReadFile(dst + L"\\big.bin") == big);
  const bool no_cancel = false;
  ASSERT_TRUE(platform::CopyFileWithProgress(src + L"\\big.bin", temp / L"system.bin", {},
                                             &no_cancel));
  WIN32_FILE_ATTRIBUTE_DATA ours, system;
  ASSERT_TRUE(GetFileAttributesExW((dst + L"\\big.bin").c_str(), GetFileExInfoStandard, &ours));
  ASSERT_TRUE(GetFileAttributesExW((temp / L"system.bin").c_str(), GetFileExInfoStandard, &system));
  EXPECT_EQ(ours.dwFileAttributes, system.dwFileAttributes);
  EXPECT_EQ(CompareFileTime(&ours.ftLastWriteTime, &system.ftLastWriteTime), 0);
  EXPECT_EQ(CompareFileTime(&ours.ftCreationTime, &system.ftCreationTime), 0);
}

TEST_F(CopyEngineTest, AFullDiskKeepsTheOlderCopyAndLeavesNoPartFile) {
  if (!testing_support::RunInLinuxShell(temp.path(), "mkdir small && mount -t tmpfs -o size=2m tmpfs small"))
    GTEST_SKIP() << "needs root to mount a small file system";
  struct Unmount {
    std::wstring folder;
    ~Unmount() { testing_support::RunInLinuxShell(folder, "umount small"); }
  } unmount{temp.path()};
  const std::wstring small = temp / L"small\\Docs";
  WriteFile(src + L"\\grown.bin", std::string(1536 << 10, 'g'));
  WriteFile(src + L"\\large.bin", std::string(backup::CopyEngine::kChunkBytes + 1, 'l'));
  WriteFile(src + L"\\note.txt", "fits");
  WriteFile(small + L"\\grown.bin", std::string(1 << 20, 'o'));
  engine.SetRow(nullptr, nullptr);
  engine.CopySource(src, small, false);
  EXPECT_TRUE(ReadFile(small + L"\\grown.bin") == std::string(1 << 20, 'o'));
  for (const wchar_t* name : {L"\\grown.bin.tavrik-part", L"\\large.bin", L"\\large.bin.tavrik-part"})
    EXPECT_FALSE(platform::FileExists(small + name)) << name;
  EXPECT_EQ(ReadFile(small + L"\\note.txt"), "fits");
  EXPECT_TRUE(flags.file_error);
}

}  // namespace
}  // namespace backup_testing
