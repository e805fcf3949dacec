// The copy engine on real trees, without a window.
#include "backup/copy_engine.h"

#include <utility>

#include "backup_fixture.h"

namespace backup_testing {
namespace {

using testing_support::SetAttributes;

TEST_F(CopyEngineTest, MergesTheTreeByteForByte) {
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
  EXPECT_FALSE(HasTemporaryFiles(dst));
  EXPECT_TRUE(platform::FolderExists(dst + L"\\Empty"));
  EXPECT_FALSE(platform::FileExists(dst + L"\\desktop.ini") || platform::FolderExists(dst + L"\\SysDir"));
  EXPECT_EQ(LogLines(target).size(), 8u + 4u) << "a line for each folder and file, none for system entries";
  EXPECT_DOUBLE_EQ(*std::max_element(progress.begin(), progress.end()), 3000000000.0 + 4 * 70000);
  EXPECT_FALSE(flags.file_error);
  EXPECT_FALSE(engine.CopySource(temp / L"Gone", dst, false)) << "a missing source";
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

TEST_F(CopyEngineTest, WhatCannotLandFailsAlone) {
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
  seams.after_entry = [&](const backup::RunFlags&) { testing_support::RemoveTree(src + L"\\zz"); };
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
}

// Killed, cancelled or failed at any moment, a copy leaves the older copy and no
// half-written file under a real name: only the temporary name holds new bytes.
TEST_F(CopyEngineTest, CancelledLargeFileKeepsTheOlderCopy) {
  const std::string big(backup::CopyEngine::kChunkBytes * 2 + 12345, 'n');
  WriteFile(src + L"\\big.bin", big);
  WriteFile(src + L"\\new.bin", big);
  WriteFile(dst + L"\\big.bin", "old good copy");
  bool seen_mid_copy = false;
  on_progress = [&] {
    if (flags.cancel_requested) return;
    seen_mid_copy = HasTemporaryFiles(dst) && ReadFile(dst + L"\\big.bin") == "old good copy" &&
                    !platform::FileExists(dst + L"\\new.bin");
    flags.cancel_requested = true;
  };
  Copy(src);
  EXPECT_TRUE(seen_mid_copy);
  EXPECT_EQ(ReadFile(dst + L"\\big.bin"), "old good copy");
  EXPECT_FALSE(platform::FileExists(dst + L"\\new.bin"));
  EXPECT_FALSE(HasTemporaryFiles(dst));
  const std::wstring last = LogLines(target).back();
  EXPECT_EQ(last.substr(last.find(L'\t')), L"\t-->user cancelled");
  EXPECT_TRUE(engine.cancel_stopped_something());
  EXPECT_EQ(progress, std::vector<double>{backup::CopyEngine::kChunkBytes}) << "the bar stays where it stopped";

  // Uncancelled, it replaces a read-only older copy with the system's copy's attributes and times.
  flags.cancel_requested = false;
  on_progress = [] {};
  SetAttributes(dst + L"\\big.bin", FILE_ATTRIBUTE_READONLY);
  SetAttributes(src + L"\\big.bin", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  Copy(src);
  EXPECT_TRUE(ReadFile(dst + L"\\big.bin") == big);
  const std::atomic<bool> no_cancel{false};
  ASSERT_EQ(platform::CopyFileWithProgress(src + L"\\big.bin", temp / L"system.bin", {}, &no_cancel),
            platform::FileResult::kDone);
  auto kept = [](const std::wstring& path) {  // attributes, creation and last-write times
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return std::tuple(data.dwFileAttributes, data.ftCreationTime.dwLowDateTime, data.ftCreationTime.dwHighDateTime,
                      WriteTime(path));
  };
  EXPECT_EQ(kept(dst + L"\\big.bin"), kept(temp / L"system.bin"));
}

// The temporary name is never one the source folder uses, is short whatever the
// file's name, and what an interrupted run left is removed by the next.
TEST_F(CopyEngineTest, TemporaryNamesAvoidSourceNames) {
  for (int i = 3; i <= 1000; ++i) WriteFile(src + L"\\" + backup::TemporaryName(i), "the user's");
  for (int i = 0; i < 10; ++i) WriteFile(src + L"\\ordinary" + std::to_wstring(i), "ordinary");
  const std::wstring ours_looking = backup::TemporaryName(1), leftover = backup::TemporaryName(2000);
  const std::wstring long_name = std::wstring(250, L'L') + L".txt";
  WriteFile(src + L"\\x", "x, held");
  WriteFile(src + L"\\" + ours_looking, "the user's own file, new");
  WriteFile(src + L"\\" + backup::TemporaryName(2), "another, new");
  WriteFile(src + L"\\" + long_name, "long, new");
  WriteFile(dst + L"\\" + ours_looking, "the user's own file, older backup");
  WriteFile(dst + L"\\" + long_name, "long, older backup");
  WriteFile(dst + L"\\" + leftover, "half of something, from a killed run");
  HANDLE held = Hold(src + L"\\x");
  seams.pause = [](std::chrono::milliseconds, const backup::RunFlags&) {};
  Copy(src);
  CloseHandle(held);
  EXPECT_EQ(ReadFile(dst + L"\\" + ours_looking), "the user's own file, new");
  EXPECT_EQ(ReadFile(dst + L"\\" + backup::TemporaryName(2)), "another, new");
  EXPECT_EQ(ReadFile(dst + L"\\" + long_name), "long, new");
  EXPECT_FALSE(platform::FileExists(dst + L"\\" + leftover));
  const std::vector<std::wstring> lines = LogLines(target);
  EXPECT_TRUE(Has(lines, L"x\t-->*not copied*"));
  auto not_copied = [](const std::wstring& line) { return line.find(L"not copied") != line.npos; };
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), not_copied), 1);
  EXPECT_TRUE(Has(lines, long_name + L"\t-->file copied"));
  EXPECT_TRUE(backup::IsTemporaryName(L"~TAVRIK12.TMP") && !backup::IsTemporaryName(L"~tavrik.tmp") &&
              !backup::IsTemporaryName(L"~tavrik1a.tmp"));
  EXPECT_EQ(backup::TemporaryNumber(L"~TAVRIK12.TMP"), 12u);
  EXPECT_FALSE(backup::TemporaryNumber(L"~tavrik99999999999999999999.tmp"));
}

// A scanner or indexer that holds a file for a moment is waited out.
TEST_F(CopyEngineTest, BrieflyHeldFilesAreCopied) {
  WriteFile(src + L"\\brief.txt", "held");
  HANDLE brief = Hold(src + L"\\brief.txt");
  // Let go at the first pause: the file was refused once, then copied.
  std::chrono::milliseconds paused{0};
  seams.pause = [&](std::chrono::milliseconds time, const backup::RunFlags&) {
    paused += time;
    if (brief) CloseHandle(std::exchange(brief, nullptr));
  };
  Copy(src);
  EXPECT_EQ(ReadFile(dst + L"\\brief.txt"), "held");
  EXPECT_GT(paused.count(), 0);
}

// Many files at once give the copies and the log, line for line, of one at a time.
TEST_F(CopyEngineTest, ThePoolCopiesATreeAsOneWorkerDoes) {
  auto name = [](int folder, int file) {
    return L"\\d" + std::to_wstring(folder) + L"\\f" + std::to_wstring(file) + L".txt";
  };
  for (int i = 0; i < 3000; ++i)
    WriteFile(src + name(i / 100, i % 100), std::string(100 + i, static_cast<char>('a' + i % 26)));
  WriteFile(src + L"\\d7\\large.bin", std::string(backup::CopyEngine::kChunkBytes * 3, 'l'));
  Copy(src);
  const std::vector<std::wstring> pooled = LogLines(target);
  // A large file's pieces and the small files ending meanwhile: the bar only moves forward.
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  testing_support::RemoveTree(dst);
  seams.workers = 1;
  Copy(src);
  EXPECT_EQ(LogLines(target), pooled);
  EXPECT_EQ(pooled.size(), 1u + 30u * 101u + 1u);
  for (int i = 0; i < 3000; i += 97)
    EXPECT_TRUE(ReadFile(dst + name(i / 100, i % 100)) == ReadFile(src + name(i / 100, i % 100)));
}

// A small file that finds no room while a large one's temporary copy fills
// the disk is tried again after it; a file larger than the room left is not
// begun (the bar never shows a part of it) and its older copy stays.
TEST_F(CopyEngineTest, ASmallFileCrowdedOutByALargeCopyIsTriedAgainAFileThatCannotFitIsNotBegun) {
  if (!Mount("Copias", "mount -t tmpfs -o size=18m tmpfs")) GTEST_SKIP() << "needs root to mount a small file system";
  constexpr std::size_t kMiB = 1 << 20;
  WriteFile(dst + L"\\a_large.bin", std::string(8 * kMiB, 'o'));  // replaced: 10 MiB stay free
  WriteFile(src + L"\\a_large.bin", std::string(9 * kMiB, 'l'));
  WriteFile(src + L"\\b_note.bin", std::string(3 * kMiB, 'n'));
  WriteFile(src + L"\\c_huge.bin", std::string(20 * kMiB, 'h'));
  WriteFile(dst + L"\\c_huge.bin", "older copy");
  // The note is listed once the large copy has its 8 MiB down, and that
  // copy goes on once the note has found no room.
  std::atomic<bool> eight_down{false}, crowded_out{false};
  seams.after_entry = [&](const backup::RunFlags&) { WaitFor([&] { return eight_down.load(); }); };
  seams.after_no_room = [&](const std::wstring& name) { crowded_out = name == L"b_note.bin"; };
  on_progress = [&] {
    if (progress.back() != 8.0 * kMiB) return;
    eight_down = true;
    WaitFor([&] { return crowded_out.load(); });
  };
  Copy(src);
  EXPECT_TRUE(crowded_out);
  EXPECT_EQ(ReadFile(dst + L"\\a_large.bin").size() + ReadFile(dst + L"\\b_note.bin").size(), 12 * kMiB);
  EXPECT_EQ(ReadFile(dst + L"\\c_huge.bin"), "older copy");
  EXPECT_FALSE(HasTemporaryFiles(dst));
  EXPECT_EQ(progress.back(), 12.0 * kMiB);
  EXPECT_TRUE(flags.file_error);
}

}  // namespace
}  // namespace backup_testing
