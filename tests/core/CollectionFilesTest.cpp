// Renaming and creating folders and adding copies, on real folders.

#include "library/CollectionFiles.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <csignal>
#include <thread>

using namespace mirelo;
using namespace mirelo::test;

namespace {

std::string messageOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const CollectionError& error) {
        return error.what();
    }
    return "";
}

TEST(CollectionFiles, FolderNamesAreTrimmedAndChecked)
{
    TempFolder root;
    makeFolder(root / "Trip");
    EXPECT_EQ(CollectionFiles::renameFolder(root / "Trip", "  Holiday \n"), root / "Holiday");
    EXPECT_TRUE(exists(root / "Holiday/.keep"));
    EXPECT_EQ(CollectionFiles::renameFolder(root / "Holiday", "Holiday"), root / "Holiday");

    for (const std::string& bad :
         std::vector<std::string>{"2024/25", "a:b", ".", "..", "   ", "", std::string("nul\0x", 5)}) {
        EXPECT_EQ(messageOf([&] { CollectionFiles::renameFolder(root / "Holiday", bad); }),
                  "Enter a folder name without slashes or colons.")
            << bad;
        EXPECT_EQ(messageOf([&] { CollectionFiles::createFolder(bad, root.path()); }),
                  "Enter a folder name without slashes or colons.");
    }
    EXPECT_TRUE(exists(root / "Holiday"));

    writeFile(root / "file.jpg");
    ::symlink((root / "Holiday").c_str(), (root / "link").c_str());
    for (const char* notFolder : {"file.jpg", "link"})
        EXPECT_EQ(messageOf([&] { CollectionFiles::renameFolder(root / notFolder, "X"); }),
                  CollectionFiles::kUnsupported);
}

TEST(CollectionFiles, RenamingOntoATakenNameIsRefused)
{
    TempFolder root;
    writeFile(root / "A/photo.jpg", "a");
    makeFolder(root / "Empty");
    ::unlink((root / "Empty/.keep").c_str()); // an empty folder, which rename(2) would replace
    writeFile(root / "taken", "file");
    for (const char* taken : {"Empty", "taken"}) {
        try {
            CollectionFiles::renameFolder(root / "A", taken);
            FAIL() << taken;
        } catch (const CollectionError& error) {
            EXPECT_EQ(error.code, EEXIST);
        }
    }
    EXPECT_EQ(readFile(root / "A/photo.jpg"), "a");
    EXPECT_EQ(readFile(root / "taken"), "file");
    EXPECT_TRUE(exists(root / "Empty"));
}

TEST(CollectionFiles, CopiesTakeTheNextFreeName)
{
    TempFolder root;
    writeFile(root / "src/photo.jpg", "pixels");
    writeFile(root / "src/README", "text");
    writeFile(root / "dest/photo.jpg", "other");
    writeFile(root / "dest/photo (2).jpg", "other 2");
    EXPECT_EQ(CollectionFiles::addCopy(root / "src/photo.jpg", root / "dest"), root / "dest/photo (3).jpg");
    EXPECT_EQ(readFile(root / "dest/photo (3).jpg"), "pixels");
    EXPECT_EQ(readFile(root / "dest/photo.jpg"), "other");
    EXPECT_EQ(CollectionFiles::addCopy(root / "src/README", root / "dest"), root / "dest/README");
    EXPECT_EQ(CollectionFiles::addCopy(root / "src/README", root / "dest"), root / "dest/README (2)");
    EXPECT_EQ(messageOf([&] { CollectionFiles::addCopy(root / "src/photo.jpg", root / "dest/photo.jpg"); }),
              "Choose a folder for this image.");

    // Copies racing for the same names never share one.
    std::vector<std::string> made(8);
    makeFolder(root / "race");
    std::vector<std::thread> threads;
    for (size_t i = 0; i < made.size(); ++i)
        threads.emplace_back([&, i] { made[i] = CollectionFiles::addCopy(root / "src/photo.jpg", root / "race"); });
    for (auto& thread : threads) thread.join();
    std::sort(made.begin(), made.end());
    EXPECT_EQ(std::unique(made.begin(), made.end()), made.end());
    for (const auto& path : made) EXPECT_EQ(readFile(path), "pixels");
}

TEST(CollectionFiles, ACopyThatRunsOutOfRoomLeavesNothingBehind)
{
    TempFolder root;
    writeFile(root / "big.jpg", std::string(1 << 20, 'x'));
    makeFolder(root / "dest");
    pid_t child = fork();
    if (child == 0) {
        // The child process hits a file-size limit, as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            4096, 4096
        };
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            CollectionFiles::addCopy(root / "big.jpg", root / "dest");
        } catch (const CollectionError& error) {
            _exit(error.code == EFBIG ? 3 : 4);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_FALSE(exists(root / "dest/big.jpg")) << "no partial copy";
}

} // namespace
