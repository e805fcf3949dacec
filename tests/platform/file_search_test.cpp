// The file search on real files: what a folder listing delivers, one exact
// file, sizes past 32 bits, and searches that find nothing.
#include <gtest/gtest.h>

#include <set>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace {

using platform::FileSearch;
using testing_support::TempFolder;

std::set<std::wstring> Names(const std::wstring& pattern) {
  std::set<std::wstring> names;
  FileSearch search(pattern);
  if (!search.found()) return names;
  do names.insert(search.entry().name);
  while (search.Next());
  return names;
}

TEST(FileSearchTest, FolderListingIncludesDotEntriesHiddenAndSystemEntries) {
  TempFolder folder;
  testing_support::WriteFile(folder / L"plain.txt", "abc");
  testing_support::WriteFile(folder / L"hidden.txt", "h");
  testing_support::WriteFile(folder / L"desktop.ini", "s");
  testing_support::MakeFolders(folder / L"Sub");
  testing_support::SetAttributes(folder / L"hidden.txt", platform::kAttributeHidden);
  testing_support::SetAttributes(folder / L"desktop.ini",
                                 platform::kAttributeHidden | platform::kAttributeSystem);

  EXPECT_EQ(Names(folder / L"*.*"),
            (std::set<std::wstring>{L".", L"..", L"plain.txt", L"hidden.txt", L"desktop.ini", L"Sub"}));
}

TEST(FileSearchTest, EntriesCarryTheirAttributes) {
  TempFolder folder;
  testing_support::WriteFile(folder / L"desktop.ini", "s");
  testing_support::SetAttributes(folder / L"desktop.ini",
                                 platform::kAttributeHidden | platform::kAttributeSystem);
  testing_support::MakeFolders(folder / L"Sub");

  FileSearch system_file(folder / L"desktop.ini");
  ASSERT_TRUE(system_file.found());
  EXPECT_TRUE(system_file.entry().is_system());
  EXPECT_FALSE(system_file.entry().is_directory());

  FileSearch sub(folder / L"Sub");
  ASSERT_TRUE(sub.found());
  EXPECT_TRUE(sub.entry().is_directory());
  EXPECT_FALSE(sub.entry().is_system());
}

TEST(FileSearchTest, ExactFileGivesItsRecordWithSize) {
  TempFolder folder;
  testing_support::WriteFile(folder / L"letter.doc", std::string(1234, 'x'));
  FileSearch search(folder / L"letter.doc");
  ASSERT_TRUE(search.found());
  EXPECT_EQ(search.entry().name, L"letter.doc");
  EXPECT_EQ(search.entry().size(), 1234u);
  EXPECT_FALSE(search.Next());
}

TEST(FileSearchTest, FileOfFourGibibytesHasHighOneLowZero) {
  TempFolder folder;
  testing_support::MakeSparseFile(folder / L"big.bin", 4294967296ull);
  FileSearch search(folder / L"big.bin");
  ASSERT_TRUE(search.found());
  EXPECT_EQ(search.entry().size_high, 1u);
  EXPECT_EQ(search.entry().size_low, 0u);
  EXPECT_EQ(search.entry().size(), 4294967296ull);
}

TEST(FileSearchTest, FileBetweenTwoAndFourGibibytesKeepsItsUnsignedLowWord) {
  TempFolder folder;
  testing_support::MakeSparseFile(folder / L"big.bin", 3000000000ull);
  FileSearch search(folder / L"big.bin");
  ASSERT_TRUE(search.found());
  EXPECT_EQ(search.entry().size_high, 0u);
  EXPECT_EQ(search.entry().size_low, 3000000000u);
}

TEST(FileSearchTest, MissingFolderOrFileFindsNothing) {
  TempFolder folder;
  EXPECT_FALSE(FileSearch(folder / L"missing\\*.*").found());
  EXPECT_FALSE(FileSearch(folder / L"missing.txt").found());
}

TEST(FileSearchTest, PathsLongerThanTheOldLimitAreSearched) {
  TempFolder folder;
  std::wstring deep = folder.path();
  while (deep.size() < 300) deep += L"\\a-rather-long-folder-name";
  testing_support::WriteFile(deep + L"\\inside.txt", "deep");
  EXPECT_EQ(Names(deep + L"\\*.*"), (std::set<std::wstring>{L".", L"..", L"inside.txt"}));
}

TEST(NormalFileNameTest, FindsNormalFilesOnlyAsSpelled) {
  TempFolder folder;
  testing_support::WriteFile(folder / L"Install.exe", "x");
  testing_support::WriteFile(folder / L"hidden.exe", "x");
  testing_support::SetAttributes(folder / L"hidden.exe", platform::kAttributeHidden);
  EXPECT_EQ(platform::NormalFileName(folder / L"install.exe"), L"Install.exe");
  EXPECT_EQ(platform::NormalFileName(folder / L"hidden.exe"), L"");
  EXPECT_EQ(platform::NormalFileName(folder.path()), L"");
}

}  // namespace
