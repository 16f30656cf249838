// Moving files to a real trash (XDG_DATA_HOME in a temporary folder) and back.

#include "library/TrashService.h"

#include "files/FileUrl.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

using namespace mirelo;
using namespace mirelo::test;

namespace {

class TrashServiceTest : public ::testing::Test {
protected:
    TempFolder home;
    ScopedEnv data{"XDG_DATA_HOME", home / "data"};
    std::string trash() const { return home / "data/Trash"; }
    // Mounts a file system of its own at `folder`, inside a mount namespace
    // private to this test process, so that nothing is left mounted.
    static bool mountDrive(const std::string& folder)
    {
        makeFolder(folder);
        static const bool isolated =
            ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        return isolated && ::mount("none", folder.c_str(), "tmpfs", 0, nullptr) == 0;
    }
};

TEST_F(TrashServiceTest, TrashThenUndoRestoresTheSameFileAndClearsTheListing)
{
    const std::string photo = home / "Pics/holiday photo.jpg";
    writeFile(photo, "pixels");
    TrashResult moved = TrashService::move({photo, photo, home / "Pics/./holiday photo.jpg"});
    ASSERT_EQ(moved.records.size(), 1u) << "one record for one file given three times";
    EXPECT_TRUE(moved.failures.empty());
    EXPECT_FALSE(exists(photo));
    const TrashRecord record = moved.records[0];
    EXPECT_EQ(record.original, photo);
    EXPECT_EQ(readFile(record.trashed), "pixels");
    // The data folder did not exist: the home trash is made, not "./files".
    EXPECT_EQ(record.trashed, trash() + "/files/holiday photo.jpg");
    const std::string info = trash() + "/info/holiday photo.jpg.trashinfo";
    EXPECT_FALSE(exists("files/holiday photo.jpg"));
    EXPECT_TRUE(exists(info));

    TrashRestoreResult back = TrashService::restore({record});
    EXPECT_EQ(back.restored, (std::vector<std::string>{photo}));
    EXPECT_TRUE(back.remaining.empty());
    EXPECT_EQ(readFile(photo), "pixels");
    EXPECT_FALSE(exists(record.trashed));
    EXPECT_FALSE(exists(info)) << "the trash no longer lists it";
}

TEST_F(TrashServiceTest, FailuresNameTheFileAndLoseNothing)
{
    const std::string kept = home / "Pics/kept.jpg";
    writeFile(kept);
    TrashResult moved = TrashService::move({home / "Pics/missing.jpg", kept});
    EXPECT_EQ(moved.records.size(), 1u) << "one failure never stops the others";
    ASSERT_EQ(moved.failures.size(), 1u);
    EXPECT_EQ(moved.failures[0], "missing.jpg: No such file or directory");

    EXPECT_TRUE(TrashService::move({}).records.empty());
    EXPECT_TRUE(TrashService::restore({}).restored.empty());
}

// Without a usable home trash Qt would "trash" into ./files of the working
// folder; the file must stay where it is instead.
TEST_F(TrashServiceTest, WithoutATrashFolderNothingMoves)
{
    writeFile(home / "data", "a file where the data folder should be");
    const std::string photo = home / "Pics/photo.jpg";
    writeFile(photo, "pixels");
    char previous[4096];
    ASSERT_TRUE(::getcwd(previous, sizeof previous));
    makeFolder(home / "work");
    ASSERT_EQ(::chdir((home / "work").c_str()), 0);
    TrashResult moved = TrashService::move({photo});
    ASSERT_EQ(::chdir(previous), 0);

    EXPECT_TRUE(moved.records.empty());
    ASSERT_EQ(moved.failures.size(), 1u);
    EXPECT_EQ(moved.failures[0], "photo.jpg: The Trash folder “" + trash() +
                                     "” couldn’t be made: Not a directory. The file was left in place.");
    EXPECT_EQ(readFile(photo), "pixels");
    EXPECT_FALSE(exists(home / "work/files"));
}

// A file on another drive goes to the trash at the top of that drive; when
// that trash cannot be made, the file stays (it is never copied and deleted).
TEST_F(TrashServiceTest, FilesOnOtherDrivesUseTheirDrivesTrash)
{
    const std::string drive = home / "drive";
    if (!mountDrive(drive)) GTEST_SKIP() << "mounting needs privileges";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{drive};
    const std::string uid = std::to_string(::getuid());

    writeFile(drive + "/clip.mp4", "frames");
    TrashResult moved = TrashService::move({drive + "/clip.mp4"});
    ASSERT_EQ(moved.records.size(), 1u) << moved.failures.at(0);
    EXPECT_EQ(moved.records[0].trashed, drive + "/.Trash-" + uid + "/files/clip.mp4");
    EXPECT_TRUE(exists(drive + "/.Trash-" + uid + "/info/clip.mp4.trashinfo"));
    EXPECT_EQ(TrashService::restore(moved.records).restored.size(), 1u);
    EXPECT_EQ(readFile(drive + "/clip.mp4"), "frames");
    EXPECT_FALSE(exists(drive + "/.Trash-" + uid + "/info/clip.mp4.trashinfo"));

    // Reached through a link to the drive, the file still goes to the trash
    // at the drive's top, listed against that top.
    writeFile(drive + "/2023/a.jpg", "pixels");
    ASSERT_EQ(::symlink(drive.c_str(), (home / "Pictures").c_str()), 0);
    moved = TrashService::move({home / "Pictures/2023/a.jpg"});
    ASSERT_EQ(moved.records.size(), 1u) << moved.failures.at(0);
    EXPECT_EQ(moved.records[0].trashed, drive + "/.Trash-" + uid + "/files/a.jpg");
    EXPECT_NE(readFile(drive + "/.Trash-" + uid + "/info/a.jpg.trashinfo").find("\nPath=2023/a.jpg\n"),
              std::string::npos);
    EXPECT_FALSE(exists(drive + "/2023/.Trash-" + uid));
    EXPECT_EQ(TrashService::restore(moved.records).restored, std::vector<std::string>{home / "Pictures/2023/a.jpg"});
    EXPECT_EQ(readFile(drive + "/2023/a.jpg"), "pixels");

    std::system(("rm -rf '" + drive + "/.Trash-" + uid + "'").c_str());
    writeFile(drive + "/.Trash-" + uid, "in the way");
    moved = TrashService::move({drive + "/clip.mp4"});
    EXPECT_TRUE(moved.records.empty());
    EXPECT_EQ(moved.failures,
              std::vector<std::string>{"clip.mp4: Its drive has no Trash that can take it, so it was left in place."});
    EXPECT_EQ(readFile(drive + "/clip.mp4"), "frames");
}

TEST_F(TrashServiceTest, UndoNeverReplacesAndKeepsWhatItCannotRestore)
{
    const std::string a = home / "Pics/a.jpg", b = home / "Pics/Sub/b.jpg", c = home / "Pics/c.jpg";
    writeFile(a, "old a");
    writeFile(b, "b");
    writeFile(c, "c");
    TrashResult moved = TrashService::move({a, b, c});
    ASSERT_EQ(moved.records.size(), 3u);
    auto recordOf = [&](const std::string& original) {
        return *std::find_if(moved.records.begin(), moved.records.end(),
                             [&](const TrashRecord& r) { return r.original == original; });
    };
    writeFile(a, "new a");                                       // the name is taken again
    std::system(("rm -rf '" + home / "Pics/Sub" + "'").c_str()); // the folder is gone
    ::unlink(recordOf(c).trashed.c_str());                       // the trash was emptied

    TrashRestoreResult back = TrashService::restore({recordOf(a), recordOf(b), recordOf(c)});
    EXPECT_TRUE(back.restored.empty());
    EXPECT_EQ(back.remaining, (std::vector<TrashRecord>{recordOf(a), recordOf(b), recordOf(c)}));
    EXPECT_EQ(back.failures,
              (std::vector<std::string>{"a.jpg: Another item with this name is already there.",
                                        "b.jpg: Its folder “" + home / "Pics/Sub" + "” no longer exists.",
                                        "c.jpg: It is no longer in the Trash."}));
    EXPECT_EQ(readFile(a), "new a");
    EXPECT_EQ(readFile(recordOf(a).trashed), "old a") << "both files untouched";
    EXPECT_FALSE(exists(home / "Pics/Sub")) << "no folder is recreated";

    // Once the folder is back, the kept record restores.
    makeFolder(home / "Pics/Sub");
    EXPECT_EQ(TrashService::restore({recordOf(b)}).restored, (std::vector<std::string>{b}));
    EXPECT_EQ(readFile(b), "b");
}

// Names are bytes: a name that is not UTF-8 and its replacement-character
// spelling are two files, and each operation reaches the one it names.
TEST_F(TrashServiceTest, NamesThatAreNotUtf8ReachExactlyTheirFile)
{
    const std::string latin1 = home / "Pics/caf\xE9.jpg", twin = home / "Pics/caf\xEF\xBF\xBD.jpg";
    writeFile(latin1, "latin-1");
    writeFile(twin, "twin");
    TrashResult moved = TrashService::move({latin1});
    ASSERT_EQ(moved.records.size(), 1u) << (moved.failures.empty() ? "" : moved.failures[0]);
    EXPECT_FALSE(exists(latin1));
    EXPECT_EQ(readFile(twin), "twin") << "the twin stays";
    EXPECT_EQ(moved.records[0].trashed, trash() + "/files/caf\xE9.jpg");
    EXPECT_NE(readFile(trash() + "/info/caf\xE9.jpg.trashinfo").find("/Pics/caf%E9.jpg\n"), std::string::npos);

    EXPECT_EQ(TrashService::restore(moved.records).restored, std::vector<std::string>{latin1});
    EXPECT_EQ(readFile(latin1), "latin-1");
    EXPECT_EQ(readFile(twin), "twin");
}

// After the trash was emptied, another file trashed under the same name is
// not ours: Undo keeps its record and touches nothing.
TEST_F(TrashServiceTest, UndoNeverRestoresAnotherFileOfTheSameName)
{
    const std::string first = home / "Pics/a.jpg", other = home / "Other/a.jpg";
    writeFile(first, "first");
    writeFile(other, "other");
    const TrashRecord record = TrashService::move({first}).records.at(0);
    writeFile(first, "again"); // made while the trashed one lives, so it cannot reuse its inode
    std::system(("rm -rf '" + trash() + "/files' '" + trash() + "/info'").c_str()); // emptied
    for (const std::string& path : {other, first}) {
        TrashResult next = TrashService::move({path});
        ASSERT_EQ(next.records.size(), 1u);
        EXPECT_EQ(next.records[0].trashed, trash() + "/files/a.jpg");

        TrashRestoreResult back = TrashService::restore({record});
        EXPECT_TRUE(back.restored.empty());
        EXPECT_EQ(back.remaining, std::vector<TrashRecord>{record});
        EXPECT_EQ(back.failures, std::vector<std::string>{"a.jpg: It is no longer in the Trash."});
        EXPECT_FALSE(exists(path));
        EXPECT_TRUE(exists(trash() + "/info/a.jpg.trashinfo")) << "the other file stays listed";
        EXPECT_EQ(TrashService::restore(next.records).restored, std::vector<std::string>{path});
    }
    EXPECT_EQ(readFile(other), "other");
    EXPECT_EQ(readFile(first), "again");
}

// A file with the same device and inode is still not ours when its size or
// change time differ from what they were right after the move.
TEST_F(TrashServiceTest, UndoChecksSizeAndChangeTimeAsWellAsTheInode)
{
    const std::string photo = home / "Pics/a.jpg";
    writeFile(photo, "pixels");
    const TrashRecord record = TrashService::move({photo}).records.at(0);
    TrashRecord resized = record, changed = record;
    resized.size += 1;
    changed.changedNanoseconds += 1;
    for (const TrashRecord& other : {resized, changed}) {
        TrashRestoreResult back = TrashService::restore({other});
        EXPECT_TRUE(back.restored.empty());
        EXPECT_EQ(back.failures, std::vector<std::string>{"a.jpg: It is no longer in the Trash."});
    }
    EXPECT_EQ(TrashService::restore({record}).restored, std::vector<std::string>{photo});
}

// Two names of one file: trashing or restoring either moves the shared
// inode's change time, and must not make the other look like another file.
TEST_F(TrashServiceTest, HardLinksComeBackTogetherOrOneByOne)
{
    const std::string first = home / "Pics/a.jpg", second = home / "Pics/b.jpg";
    for (bool together : {true, false}) {
        writeFile(first, "pixels");
        ASSERT_EQ(::link(first.c_str(), second.c_str()), 0);
        TrashResult moved = TrashService::move({first, second});
        ASSERT_EQ(moved.records.size(), 2u);
        std::vector<std::string> restored;
        if (together) {
            restored = TrashService::restore(moved.records).restored;
        } else {
            for (auto record = moved.records.rbegin(); record != moved.records.rend(); ++record) {
                TrashRestoreResult back = TrashService::restore({*record});
                EXPECT_TRUE(back.failures.empty()) << back.failures.at(0);
                restored.insert(restored.end(), back.restored.begin(), back.restored.end());
            }
        }
        EXPECT_EQ(restored.size(), 2u);
        EXPECT_EQ(readFile(first), "pixels");
        EXPECT_EQ(readFile(second), "pixels");
        ::unlink(first.c_str());
        ::unlink(second.c_str());
    }
}

// Names too long for "<name>.trashinfo" are shortened in the trash; the
// listing keeps the whole original, and Undo brings it back whole.
TEST_F(TrashServiceTest, LongNamesAreShortenedInsideTheTrashOnly)
{
    std::string name;
    while (name.size() < 246) name += "é";
    const std::string photo = home / "Pics/" + name + ".jpg";
    writeFile(photo, "pixels");
    for (int round = 0; round < 2; ++round) {
        TrashResult moved = TrashService::move({photo});
        ASSERT_EQ(moved.records.size(), 1u) << moved.failures.at(0);
        const std::string entry(lastPathComponent(moved.records[0].trashed));
        EXPECT_LE(entry.size() + std::string(".trashinfo").size(), 255u);
        EXPECT_TRUE(entry.ends_with(round == 0 ? ".jpg" : ".2.jpg")) << entry;
        EXPECT_TRUE(exists(trash() + "/info/" + entry + ".trashinfo"));
        EXPECT_EQ(TrashService::restore(moved.records).restored, std::vector<std::string>{photo});
        if (round == 0) writeFile(trash() + "/files/" + entry, "in the way"); // the next one needs a free name
    }
    EXPECT_EQ(readFile(photo), "pixels");
}

// The home trash is found from an absolute XDG_DATA_HOME only, and never in
// the working folder.
TEST_F(TrashServiceTest, TheWorkingFolderNeverBecomesATrash)
{
    char previous[4096];
    ASSERT_TRUE(::getcwd(previous, sizeof previous));
    makeFolder(home / "work");
    ASSERT_EQ(::chdir((home / "work").c_str()), 0);
    for (const std::string& data : {std::string("relative/data"), home / "missing/../absent/data"}) {
        ScopedEnv env("XDG_DATA_HOME", data);
        ScopedEnv homeEnv("HOME", home / "user");
        writeFile(home / "Pics/photo.jpg", "pixels");
        TrashResult moved = TrashService::move({home / "Pics/photo.jpg"});
        ASSERT_EQ(moved.records.size(), 1u) << data;
        EXPECT_TRUE(moved.records[0].trashed.starts_with(data[0] == '/' ? home / "absent/data/Trash/files/"
                                                                        : home / "user/.local/share/Trash/files/"))
            << moved.records[0].trashed;
        EXPECT_EQ(TrashService::restore(moved.records).restored.size(), 1u);
    }
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_FALSE(exists(home / "work/files"));
    EXPECT_FALSE(exists(home / "work/relative"));
}

} // namespace
