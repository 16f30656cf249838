// The selection: Select All shares the visible id set, single items come
// and go beside it, and two selections compare by what they hold.

#include "PathSelection.h"

#include <gtest/gtest.h>

#include <set>

namespace mirelo {
namespace {

MediaIDSet idsOf(const std::vector<std::string>& paths)
{
    MediaItems items;
    std::vector<uint64_t> hashes;
    for (const std::string& path : paths) {
        items.append(MediaItem(path, 1, 0, false));
        hashes.push_back(items.last().pathHash());
    }
    return MediaIDSet(items, hashes);
}

std::set<std::string> pathsIn(const PathSelection& selection)
{
    std::set<std::string> paths;
    selection.forEach([&](std::string_view path) { EXPECT_TRUE(paths.emplace(path).second) << path; });
    return paths;
}

TEST(PathSelection, EverythingVisibleThenSingleItems)
{
    PathSelection selection = PathSelection::everyIn(idsOf({"/a.jpg", "/b.jpg", "/c.jpg"}));
    EXPECT_EQ(selection.size(), 3u);
    EXPECT_EQ(selection, (PathSelection{"/c.jpg", "/b.jpg", "/a.jpg"}));

    // Each step: the change, whether it changed anything, and what is left.
    struct Step {
        bool select;
        const char* path;
        bool changed;
        std::set<std::string> left;
    };
    for (const Step& step : std::vector<Step>{
             {false, "/b.jpg", true, {"/a.jpg", "/c.jpg"}},
             {false, "/b.jpg", false, {"/a.jpg", "/c.jpg"}},
             {true, "/z.jpg", true, {"/a.jpg", "/c.jpg", "/z.jpg"}},
             {true, "/b.jpg", true, {"/a.jpg", "/b.jpg", "/c.jpg", "/z.jpg"}},
             {true, "/a.jpg", false, {"/a.jpg", "/b.jpg", "/c.jpg", "/z.jpg"}},
             {false, "/z.jpg", true, {"/a.jpg", "/b.jpg", "/c.jpg"}},
             {false, "/a.jpg", true, {"/b.jpg", "/c.jpg"}},
         }) {
        SCOPED_TRACE(std::string(step.select ? "select " : "deselect ") + step.path);
        EXPECT_EQ(step.select ? selection.insert(step.path) : selection.erase(step.path), step.changed);
        EXPECT_EQ(pathsIn(selection), step.left);
        EXPECT_EQ(selection.size(), step.left.size());
        EXPECT_EQ(selection.contains(step.path), step.left.count(step.path) > 0);
    }
    EXPECT_EQ(selection, (PathSelection{"/b.jpg", "/c.jpg"}));
    EXPECT_FALSE(selection == (PathSelection{"/b.jpg", "/d.jpg"}));
    EXPECT_TRUE(PathSelection::everyIn(MediaIDSet()).empty());
}

} // namespace
} // namespace mirelo
