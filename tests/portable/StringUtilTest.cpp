// String and path helpers: the edge cases that callers depend on.
#include <gtest/gtest.h>

#include "common/PathUtil.h"
#include "common/StringUtil.h"

TEST(ReplaceAllTest, InsertedTextIsNeverSearchedAgain) {
    std::string text = "aaa";
    ReplaceAll(text, "a", "aa");
    EXPECT_EQ("aaaaaa", text);

    std::wstring wide = L"PRODUCT and PRODUCT";
    ReplaceAll(wide, L"PRODUCT", L"PRODUCT Setup");
    EXPECT_EQ(L"PRODUCT Setup and PRODUCT Setup", wide);
}

TEST(ReplaceAllTest, EqualOrEmptyPatternChangesNothing) {
    std::string text = "abc";
    ReplaceAll(text, "b", "b");
    EXPECT_EQ("abc", text);
    ReplaceAll(text, "", "x");
    EXPECT_EQ("abc", text);
    ReplaceAll(text, "b", "");
    EXPECT_EQ("ac", text);
}

TEST(SplitTest, SplitAllKeepsInnerEmptyPiecesButNoTrailingOne) {
    std::vector<std::string> pieces;
    SplitAll("a..b", ".", pieces);
    EXPECT_EQ((std::vector<std::string>{"a", "", "b"}), pieces);
    SplitAll("a.", ".", pieces);
    EXPECT_EQ((std::vector<std::string>{"a"}), pieces);
    SplitAll("abc", ".", pieces);
    EXPECT_EQ((std::vector<std::string>{"abc"}), pieces);
    SplitAll(".log", ".", pieces);
    EXPECT_EQ((std::vector<std::string>{"", "log"}), pieces);
}

TEST(SplitTest, SplitFirst) {
    std::wstring left, right;
    EXPECT_TRUE(SplitFirst(L"KEY=a=b", L"=", left, right));
    EXPECT_EQ(L"KEY", left);
    EXPECT_EQ(L"a=b", right);
    EXPECT_FALSE(SplitFirst(L"no separator", L"=", left, right));
    EXPECT_EQ(L"no separator", left);
    EXPECT_EQ(L"", right);
}

TEST(SplitTest, SplitHostAndPath) {
    const struct {
        const wchar_t* address;
        bool result;
        const wchar_t* host;
        const wchar_t* path;
    } cases[] = {
        {L"https://dl.example/repavio/setup.exe", true, L"dl.example", L"repavio/setup.exe"},
        {L"HTTP://Api.Example/producturl?key=pkg_url", true, L"Api.Example",
         L"producturl?key=pkg_url"},
        {L"Https://h/p", true, L"h", L"p"},
        // A scheme later in the address is not a prefix.
        {L"http://api.example/producturl?next=https://evil.example/x", true, L"api.example",
         L"producturl?next=https://evil.example/x"},
        {L"https://api.example/r?u=http://evil.example/", true, L"api.example",
         L"r?u=http://evil.example/"},
        {L"see http://evil.example/x", true, L"untouched", L"untouched"},
        {L"ftp://x/y", true, L"untouched", L"untouched"},
        {L"http:/", true, L"untouched", L"untouched"},
        {L"http://host.example", false, L"host.example", L"untouched"},
    };
    for (const auto& c : cases) {
        std::wstring host = L"untouched", path = L"untouched";
        EXPECT_EQ(c.result, SplitHostAndPath(c.address, host, path)) << c.address;
        EXPECT_EQ(c.host, host) << c.address;
        EXPECT_EQ(c.path, path) << c.address;
    }
}

TEST(PathTest, NormalizePathCollapsesPairsInOnePass) {
    std::wstring path = L"C:/a//b";
    NormalizePath(path);
    EXPECT_EQ(L"C:\\a\\b", path);

    // A network share keeps its leading pair; the rest collapses as usual.
    path = L"\\\\server\\share";
    NormalizePath(path);
    EXPECT_EQ(L"\\\\server\\share", path);
    path = L"//server//share/x";
    NormalizePath(path);
    EXPECT_EQ(L"\\\\server\\share\\x", path);

    path = L"a\\\\\\b\\\\\\\\c";  // three and four backslashes become two
    NormalizePath(path);
    EXPECT_EQ(L"a\\\\b\\\\c", path);

    std::string narrow = "x//y";
    NormalizePath(narrow);
    EXPECT_EQ("x\\y", narrow);
}

TEST(PathTest, TrimAndParent) {
    std::wstring path = L"C:\\x\\";
    TrimTrailingBackslash(path);
    EXPECT_EQ(L"C:\\x", path);
    path = L"\\";
    TrimTrailingBackslash(path);
    EXPECT_EQ(L"\\", path);
    path = L"";
    TrimTrailingBackslash(path);
    EXPECT_EQ(L"", path);

    std::wstring parent = L"untouched";
    EXPECT_TRUE(GetParentFolder(L"C:/dl//setup.exe", parent));
    EXPECT_EQ(L"C:\\dl", parent);
    parent = L"untouched";
    EXPECT_FALSE(GetParentFolder(L"setup.exe", parent));
    EXPECT_EQ(L"untouched", parent);
}

TEST(PathTest, FileNamesAndTitles) {
    EXPECT_EQ(L"setup.exe", GetFileNamePart(L"C:/dl\\setup.exe"));
    EXPECT_EQ(L"setup.exe", GetFileNamePart(L"setup.exe"));
    EXPECT_EQ(L"", GetFileNamePart(L""));

    EXPECT_EQ("tandrel-download", GetFileTitle("C:\\x\\tandrel-download.exe", false));
    EXPECT_EQ("a", GetFileTitle("C:\\x\\a.b.exe", false));
    EXPECT_EQ("", GetFileTitle("C:\\x\\.log", false));
    EXPECT_EQ("name.", GetFileTitle("C:\\x\\name.", false));
    EXPECT_EQ("a.b.exe", GetFileTitle("C:\\x\\a.b.exe", true));
    EXPECT_EQ("", GetFileTitle("no-backslash.exe", false));
    EXPECT_EQ("", GetFileTitle("C:\\folder\\", false));

    EXPECT_EQ(L"setup.new", StripLastExtension(L"setup.new.exe"));
    EXPECT_EQ(L"setup", StripLastExtension(L"setup"));
}
