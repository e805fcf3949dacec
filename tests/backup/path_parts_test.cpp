// Path text rules of the run: parts, blanks, absolute paths and a target
// inside a source. No Windows call: also run natively under the sanitizers.
#include "backup/path_parts.h"

#include <gtest/gtest.h>

namespace backup {
namespace {

TEST(PathPartsTest, PartsBlanksAndPlacesOfTheirOwn) {
  std::wstring path = L"C:\\a\\b\\";
  EXPECT_EQ(NextPathPart(path, L'\\'), L"C:\\");
  EXPECT_EQ(path, L"a\\b\\");
  std::wstring share = L"\\\\srv\\share\\";
  EXPECT_EQ(NextPathPart(share, L'\\'), L"\\\\srv\\");
  std::wstring none = L"abc";
  EXPECT_EQ(NextPathPart(none, L'\\'), L"");
  EXPECT_EQ(none, L"abc");
  EXPECT_EQ(AddBackslash(L""), L"\\");
  EXPECT_EQ(AddBackslash(L"E:\\x\\"), L"E:\\x\\");
  EXPECT_EQ(FolderOfFile(L"E:\\x\\a.txt"), L"E:\\x\\");
  EXPECT_EQ(FolderOfFile(L"a.txt"), L"");
  EXPECT_EQ(TrimSpaces(L"  E:\\x \t "), L"E:\\x \t");
  for (const wchar_t* absolute : {L"D:\\", L"d:\\x", L"\\\\srv\\s"}) EXPECT_TRUE(IsAbsolutePath(absolute)) << absolute;
  for (const wchar_t* relative : {L"x\\y", L"D:x", L"\\x", L"", L"\\"}) EXPECT_FALSE(IsAbsolutePath(relative)) << relative;
}

TEST(PathPartsTest, TargetInsideSourceFoundInAnyCase) {
  EXPECT_TRUE(StartsWithPath(L"c:\\USERS\\ana\\docs\\bk", L"C:\\Users\\Ana\\Docs"));
  EXPECT_FALSE(StartsWithPath(L"C:\\Users", L"C:\\Users\\Ana"));
  EXPECT_FALSE(StartsWithPath(L"C:\\x", L"")) << "a store whose file is unknown";
}

}  // namespace
}  // namespace backup
