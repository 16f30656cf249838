#include "files/FileUrl.h"

#include <gtest/gtest.h>

using namespace mirelo;

TEST(FileUrl, StandardisesLexically)
{
    EXPECT_EQ(standardisedPath("/a/./b/../c/"), "/a/c");
    EXPECT_EQ(standardisedPath("//a//b"), "/a/b");
    EXPECT_EQ(standardisedPath("/.."), "/");
    EXPECT_EQ(standardisedPath("/"), "/");
    EXPECT_EQ(standardisedPath("/a/b"), "/a/b");
    EXPECT_EQ(absoluteStandardisedPath("/x/../y"), "/y");
    EXPECT_TRUE(absoluteStandardisedPath("rel").ends_with("/rel"));
}

TEST(FileUrl, EncodesAndDecodesEveryByte)
{
    EXPECT_EQ(fileUrlString("/Users/a/My Photos/Café #1?.jpg"), "file:///Users/a/My%20Photos/Caf%C3%A9%20%231%3F.jpg");
    std::string raw = "/x/\xFF\x01%ab.jpg";
    EXPECT_EQ(fileUrlString(raw), "file:///x/%FF%01%25ab.jpg");
    EXPECT_EQ(pathFromFileUrl(fileUrlString(raw)), raw);
    EXPECT_EQ(pathFromFileUrl("file://localhost/a%2Fb"), "/a/b");
    EXPECT_EQ(pathFromFileUrl("FILE:///a/"), "/a/"); // a folder keeps its trailing "/"
}

TEST(FileUrl, RejectsWhatIsNotALocalFileUrl)
{
    for (const char* bad :
         {"", "/plain/path", "http://host/a.jpg", "file://server/a.jpg", "file:///a%2", "file:///a%zz", "file:///a%00b",
          "file:///with space", "file:///a?query", "file:relative", "file://"})
        EXPECT_FALSE(pathFromFileUrl(bad)) << bad;
}

TEST(FileUrl, NameComponents)
{
    EXPECT_EQ(lastPathComponent("/a/b.jpg"), "b.jpg");
    EXPECT_EQ(lastPathComponent("/"), "");
    EXPECT_EQ(parentPath("/a/b.jpg"), "/a");
    EXPECT_EQ(parentPath("/a"), "/");
    EXPECT_EQ(pathExtension("archive.tar.GZ"), "GZ");
    EXPECT_EQ(pathExtension("README"), "");
    EXPECT_EQ(pathExtension(".profile"), "");
}
