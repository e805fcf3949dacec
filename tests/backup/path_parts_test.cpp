// Path helpers used to build, split and check backup paths.
#include "backup/path_parts.h"

#include <gtest/gtest.h>

namespace backup {
namespace {

TEST(AddBackslashTest, AddsExactlyOneTrailingBackslash) {
  EXPECT_EQ(AddBackslash(L"C:\\Data"), L"C:\\Data\\");
  EXPECT_EQ(AddBackslash(L"C:\\Data\\"), L"C:\\Data\\");
  EXPECT_EQ(AddBackslash(L"C:\\Data\\\\"), L"C:\\Data\\\\");
  EXPECT_EQ(AddBackslash(L"C:"), L"C:\\");
  EXPECT_EQ(AddBackslash(L""), L"\\");
  EXPECT_EQ(AddBackslash(L"C:\\Data/"), L"C:\\Data/\\");
}

TEST(TrimNullTest, CutsAtTheFirstNul) {
  std::wstring record(260, L'\0');
  record.replace(0, 9, L"notes.txt");
  EXPECT_EQ(TrimNull(record), L"notes.txt");
  EXPECT_EQ(TrimNull(std::wstring(L"a\0b\0", 4)), L"a");
  EXPECT_EQ(TrimNull(std::wstring(L"\0x", 2)), L"");
  EXPECT_EQ(TrimNull(L"no nul"), L"no nul");
  EXPECT_EQ(TrimNull(L""), L"");
}

TEST(NextPathPartTest, TakesTheDriveRootThenEachFolder) {
  std::wstring path = L"C:\\a\\b\\";
  EXPECT_EQ(NextPathPart(path, L'\\'), L"C:\\");
  EXPECT_EQ(path, L"a\\b\\");
  EXPECT_EQ(NextPathPart(path, L'\\'), L"a\\");
  EXPECT_EQ(NextPathPart(path, L'\\'), L"b\\");
  EXPECT_EQ(path, L"");
  EXPECT_EQ(NextPathPart(path, L'\\'), L"");
}

TEST(NextPathPartTest, NetworkPathStartsWithTheServer) {
  std::wstring path = L"\\\\srv\\share\\x\\";
  EXPECT_EQ(NextPathPart(path, L'\\'), L"\\\\srv\\");
  EXPECT_EQ(path, L"share\\x\\");
  EXPECT_EQ(NextPathPart(path, L'\\'), L"share\\");
  EXPECT_EQ(path, L"x\\");
}

TEST(NextPathPartTest, NoDelimiterLeavesThePathAsItWas) {
  std::wstring path = L"Documents";
  EXPECT_EQ(NextPathPart(path, L'\\'), L"");
  EXPECT_EQ(path, L"Documents");

  // Only backslashes past the network start count, so "\\" stays whole.
  path = L"\\\\";
  EXPECT_EQ(NextPathPart(path, L'\\'), L"");
  EXPECT_EQ(path, L"\\\\");
  path = L"\\\\srv";
  EXPECT_EQ(NextPathPart(path, L'\\'), L"");
  EXPECT_EQ(path, L"\\\\srv");
}

TEST(NextPathPartTest, OtherDelimitersAndCaseSensitivity) {
  std::wstring path = L"aXbxc";
  EXPECT_EQ(NextPathPart(path, L'x'), L"aXbx");
  EXPECT_EQ(path, L"c");
  path = L"\\a\\b";
  EXPECT_EQ(NextPathPart(path, L'\\'), L"\\");
  EXPECT_EQ(path, L"a\\b");
}

TEST(FolderOfFileTest, KeepsTheLastBackslash) {
  EXPECT_EQ(FolderOfFile(L"C:\\Mail\\personal.pst"), L"C:\\Mail\\");
  EXPECT_EQ(FolderOfFile(L"C:\\personal.pst"), L"C:\\");
  EXPECT_EQ(FolderOfFile(L"\\\\srv\\share\\a.pst"), L"\\\\srv\\share\\");
  EXPECT_EQ(FolderOfFile(L"C:\\Mail\\"), L"C:\\Mail\\");
  EXPECT_EQ(FolderOfFile(L"personal.pst"), L"");
  EXPECT_EQ(FolderOfFile(L""), L"");
}

TEST(StartsWithPathTest, TargetsBeginningWithTheSourceAreCaught) {
  EXPECT_TRUE(StartsWithPath(L"D:\\Copias", L"D:\\Copias"));
  EXPECT_TRUE(StartsWithPath(L"D:\\Copias\\Sub", L"D:\\Copias"));
  EXPECT_TRUE(StartsWithPath(L"D:\\Copias2", L"D:\\Copias"));
}

TEST(StartsWithPathTest, ParentsAndOtherFoldersPass) {
  EXPECT_FALSE(StartsWithPath(L"D:\\", L"D:\\Copias"));
  EXPECT_FALSE(StartsWithPath(L"D:\\Copia", L"D:\\Copias"));
  EXPECT_FALSE(StartsWithPath(L"E:\\Copias", L"D:\\Copias"));
  EXPECT_FALSE(StartsWithPath(L"", L"D:\\Copias"));
}

TEST(StartsWithPathTest, LetterCaseIsIgnored) {
  EXPECT_TRUE(StartsWithPath(L"d:\\copias\\sub", L"D:\\Copias"));
  EXPECT_TRUE(StartsWithPath(L"D:\\COPIAS", L"d:\\copias"));
  EXPECT_TRUE(StartsWithPath(L"D:\\A\u00D1O\\x", L"D:\\A\u00F1o"));
  EXPECT_FALSE(StartsWithPath(L"d:\\copia", L"D:\\Copias"));
}

TEST(StartsWithPathTest, EmptySourcePathBlocksNoTarget) {
  EXPECT_FALSE(StartsWithPath(L"D:\\Copias", L""));
  EXPECT_FALSE(StartsWithPath(L"", L""));
}

}  // namespace
}  // namespace backup
