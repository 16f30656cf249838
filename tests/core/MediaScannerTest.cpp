#include "library/MediaFormats.h"
#include "library/MediaScanner.h"
#include "TestFiles.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace mirelo;
using namespace mirelo::test;

namespace {

std::vector<std::string> names(const ScanResult& result)
{
    std::vector<std::string> out;
    for (const auto& item : result.items) out.emplace_back(item.name());
    return out;
}

ScanResult scan(const std::vector<std::string>& roots, bool recursive = true)
{
    ScanToken token;
    return MediaScanner::scan(roots, recursive, token);
}

} // namespace

TEST(MediaScanner, FindsMediaInNameOrderOnce)
{
    TempFolder folder;
    writeFile(folder / "a/img10.jpg");
    writeFile(folder / "a/img2.jpg");
    writeFile(folder / "a/clip.MOV");
    writeFile(folder / "a/notes.txt");
    writeFile(folder / "a/deep/er/IMG1.png");
    makeFolder(folder / "a/folder.jpg/inside");
    writeFile(folder / "a/folder.jpg/inside/x.gif");

    auto result = scan({folder / "a", folder / "a", folder / "a/img2.jpg"});
    EXPECT_EQ(names(result), (std::vector<std::string>{"clip.MOV", "IMG1.png", "img2.jpg", "img10.jpg", "x.gif"}));
    EXPECT_EQ(result.inaccessible, 0);
    EXPECT_FALSE(result.cancelled);
    EXPECT_TRUE(result.items[0].isVideo());

    auto flat = scan({folder / "a"}, false);
    EXPECT_EQ(names(flat), (std::vector<std::string>{"clip.MOV", "img2.jpg", "img10.jpg"}));
}

TEST(MediaScanner, RootsThatAreFilesLinksOrMissing)
{
    TempFolder folder;
    writeFile(folder / "one.heic");
    writeFile(folder / "doc.txt");
    makeFolder(folder / "real");
    writeFile(folder / "real/r.jpg");
    ASSERT_EQ(::symlink((folder / "real").c_str(), (folder / "linked").c_str()), 0);

    EXPECT_EQ(names(scan({folder / "one.heic"})), std::vector<std::string>{"one.heic"});
    auto nonMedia = scan({folder / "doc.txt"});
    EXPECT_TRUE(nonMedia.items.isEmpty());
    EXPECT_EQ(nonMedia.inaccessible, 0);
    EXPECT_EQ(scan({folder / "missing"}).inaccessible, 1);
    auto linked = scan({folder / "linked", folder / "real"});
    EXPECT_EQ(linked.inaccessible, 1);
    EXPECT_EQ(names(linked), std::vector<std::string>{"r.jpg"});

    int calls = 0, last = -1;
    ScanToken token;
    auto empty = MediaScanner::scan({}, true, token, [&](int n) { ++calls, last = n; });
    EXPECT_TRUE(empty.items.isEmpty());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(last, 0);
}

TEST(MediaScanner, SkipsHiddenPackagesLinksAndLinkLoops)
{
    TempFolder folder;
    writeFile(folder / "top/.hidden.jpg");
    writeFile(folder / "top/.cache/thumb.jpg");
    writeFile(folder / "top/Editor.app/Contents/icon.png");
    writeFile(folder / "top/Trip.photoslibrary/originals/a.jpg");
    writeFile(folder / "top/visible.jpg");
    ASSERT_EQ(::symlink((folder / "top/visible.jpg").c_str(), (folder / "top/alias.jpg").c_str()), 0);
    ASSERT_EQ(::symlink((folder / "top").c_str(), (folder / "top/loop").c_str()), 0);
    EXPECT_EQ(names(scan({folder / "top"})), std::vector<std::string>{"visible.jpg"});
    // A package chosen as a root is walked.
    EXPECT_EQ(names(scan({folder / "top/Editor.app"})), std::vector<std::string>{"icon.png"});
}

// On Linux "~/Library" and "~/Applications" are the user's own folders;
// the folder kept for programs' data is not entered from the home folder.
TEST(MediaScanner, TheHomeFoldersProgramsFolderIsNotEntered)
{
    TempFolder home;
    ScopedEnv env("HOME", home.path());
    writeFile(home / "Library/l.jpg");
    writeFile(home / "Applications/a.png");
    writeFile(home / "snap/editor/common/s.png");
    writeFile(home / "Pictures/snap/kept.jpg"); // only the home's own folder is skipped
    EXPECT_EQ(names(scan({home.path()})), (std::vector<std::string>{"a.png", "kept.jpg", "l.jpg"}));
    EXPECT_EQ(names(scan({home / "snap"})), std::vector<std::string>{"s.png"});
}

TEST(MediaScanner, ReportsProgressEvery200VisitsAndCancels)
{
    TempFolder folder;
    for (int i = 0; i < 449; ++i) writeFile(folder / ("f/" + std::to_string(i) + ".jpg"));
    makeFolder(folder / "f/sub"); // the 450th visit; ".keep" inside is hidden
    std::vector<int> reported;
    ScanToken token;
    auto result = MediaScanner::scan({folder / "f"}, true, token, [&](int n) { reported.push_back(n); });
    ASSERT_EQ(reported.size(), 3u);
    EXPECT_GE(reported[0], 199);
    EXPECT_LE(reported[0], 200);
    EXPECT_GE(reported[1], 399);
    EXPECT_EQ(reported[2], 449);

    ScanToken cancelling;
    auto partial =
        MediaScanner::scan({folder / "f", folder / "f/sub"}, true, cancelling, [&](int) { cancelling.cancel(); });
    EXPECT_TRUE(partial.cancelled);
    EXPECT_LE(partial.items.size(), 200);
    EXPECT_GE(partial.items.size(), 199);
    EXPECT_TRUE(std::is_sorted(partial.items.begin(), partial.items.end(), [](const MediaItem& a, const MediaItem& b) {
        return std::stoi(std::string(a.name())) < std::stoi(std::string(b.name()));
    }));
}

TEST(MediaScanner, UnreadableFoldersCountOnceEach)
{
    TempFolder folder;
    ::chmod(folder.path().c_str(), 0755);
    writeFile(folder / "root/ok.jpg");
    writeFile(folder / "root/locked/secret.jpg");
    writeFile(folder / "locked-root/x.jpg");
    ::chmod((folder / "root").c_str(), 0755);
    ::chmod((folder / "root/locked").c_str(), 0);
    ::chmod((folder / "locked-root").c_str(), 0);

    auto check = [&] {
        auto result = scan({folder / "root", folder / "locked-root"});
        return result.inaccessible * 10 + int(result.items.size());
    };
    if (::getuid() != 0) {
        EXPECT_EQ(check(), 21);
        return;
    }
    // Permissions do not bite for root: scan as an unprivileged user in a child.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(99);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 21); // two unreadable folders, one item
}

// Only regular files are ever read: a pipe named like a transport stream
// would block the sniff forever.
TEST(MediaScanner, PipesAreNeverOpened)
{
    TempFolder folder;
    writeFile(folder / "Clips/real.jpg");
    ASSERT_EQ(::mkfifo((folder / "Clips/stream.ts").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder / "Clips/still.jpg").c_str(), 0600), 0);
    EXPECT_EQ(names(scan({folder / "Clips"})), std::vector<std::string>{"real.jpg"});
    EXPECT_TRUE(scan({folder / "Clips/stream.ts"}).items.isEmpty());
    EXPECT_FALSE(MediaItem::read(folder / "Clips/stream.ts"));
    EXPECT_FALSE(MediaFormats::isVideo(folder / "Clips/stream.ts"));
}

// A file system's own lost+found at its top is skipped like a hidden
// folder, uncounted; one elsewhere is an ordinary folder.
TEST(MediaScanner, LostAndFoundAtADrivesTopIsSkipped)
{
    MIRELO_IN_MOUNT_NAMESPACE();
    TempFolder folder;
    const std::string drive = folder / "drive";
    makeFolder(drive);
    ASSERT_EQ(std::system(("mount -t tmpfs none '" + drive + "'").c_str()), 0);
    writeFile(drive + "/lost+found/#1234.jpg");
    writeFile(drive + "/a.jpg");
    writeFile(drive + "/Sub/lost+found/b.jpg");
    for (const std::string& root : {drive, folder.path()}) {
        ScanResult result = scan({root});
        EXPECT_EQ(names(result), (std::vector<std::string>{"a.jpg", "b.jpg"})) << root;
        EXPECT_EQ(result.inaccessible, 0);
    }
    std::system(("umount '" + drive + "'").c_str());
}
