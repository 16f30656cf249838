#include "library/LibraryFile.h"
#include "library/LibraryStore.h"
#include "TestFiles.h"

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <thread>

using namespace mirelo;
using namespace mirelo::test;

namespace {

LibrarySnapshot tagged(const std::string& tag, int count = 3)
{
    LibrarySnapshot snapshot;
    snapshot.search = tag;
    for (int i = 0; i < count; ++i)
        snapshot.items.append(MediaItem("/p/" + tag + std::to_string(i) + ".jpg", i, i + 0.5, false));
    return snapshot;
}

pid_t startWriter(const std::vector<std::string>& arguments, bool limitFileSize = false)
{
    pid_t child = ::fork();
    if (child == 0) {
        if (limitFileSize) {
            rlimit limit{64 * 1024, 64 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN); // writes then fail with EFBIG, as on a full disk
        }
        std::vector<char*> argv{const_cast<char*>(LIBRARY_WRITER)};
        for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        int devnull = ::open("/dev/null", O_WRONLY);
        if (!limitFileSize) ::dup2(devnull, 2);
        ::execv(LIBRARY_WRITER, argv.data());
        ::_exit(127);
    }
    return child;
}

int filesIn(const std::string& folder)
{
    int count = 0;
    DIR* dir = ::opendir(folder.c_str());
    while (dirent* entry = ::readdir(dir))
        if (std::string name = entry->d_name; name != "." && name != "..") ++count;
    ::closedir(dir);
    return count;
}

} // namespace

TEST(LibraryStore, LoadsNothingWhenMissingAndCreatesItsFolder)
{
    TempFolder folder;
    LibraryStore store(folder / "Support/com.tessel.local.viewer/library.json");
    EXPECT_FALSE(store.load());
    store.flush(tagged("first"));
    auto loaded = store.load();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, tagged("first"));
}

TEST(LibraryStore, FailedWritesReportAndKeepTheOldFile)
{
    TempFolder folder;
    writeFile(folder / "blocker", "not a folder");
    LibraryStore blocked(folder / "blocker/library.json");
    std::string reported;
    blocked.save(tagged("x"), [&](const LibraryError* error) { reported = error ? error->what() : "success"; });
    EXPECT_THROW(blocked.flush(tagged("y")), LibraryError);
    EXPECT_NE(reported.find("Not a directory"), std::string::npos) << reported;

    // A disk that fills up part-way through the write.
    const std::string path = folder / "library.json";
    LibraryFile::write(path, tagged("old"));
    const std::string before = readFile(path);
    int before_files = filesIn(folder.path());
    pid_t child = startWriter({"once", path, "3000"}, true);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3); // the error was reported, not swallowed
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(filesIn(folder.path()), before_files); // no temporary file left behind
}

TEST(LibraryStore, KilledWritersLeaveTheOldOrTheNewFile)
{
    TempFolder folder;
    const std::string path = folder / "library.json";
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pause(0, 60);
    pid_t first = startWriter({"once", path, "3000"});
    ::waitpid(first, nullptr, 0);
    std::set<std::string> seen;
    for (int round = 0; round < 20; ++round) {
        // Killed at some moment after its first write, however long a loaded
        // machine takes to start it.
        struct stat before {};
        ::stat(path.c_str(), &before);
        pid_t child = startWriter({"loop", path, "3000"});
        for (int wait = 0; wait < 2000; ++wait) {
            struct stat now {};
            if (::stat(path.c_str(), &now) == 0 && now.st_ino != before.st_ino) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        LibrarySnapshot snapshot;
        ASSERT_NO_THROW(snapshot = LibraryFile::read(path)) << "round " << round;
        ASSERT_TRUE(snapshot.search == "once" || snapshot.search == "a" || snapshot.search == "b") << snapshot.search;
        EXPECT_EQ(snapshot.items.size(), snapshot.search == "b" ? 3001 : 3000);
        seen.insert(snapshot.search);
    }
    EXPECT_GT(seen.size(), 1u); // the writers did replace the file

    // The killed writers' temporaries go at the next save once a minute old;
    // a fresh one (a write in progress) and other files stay.
    auto temporaries = [&] {
        std::set<std::string> names;
        DIR* dir = ::opendir(folder.path().c_str());
        while (dirent* entry = ::readdir(dir))
            if (std::string_view(entry->d_name).starts_with(".library.json.")) names.insert(entry->d_name);
        ::closedir(dir);
        return names;
    };
    const std::set<std::string> left = temporaries();
    ASSERT_FALSE(left.empty());
    for (const std::string& name : left) {
        const struct timeval aged[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
        ::utimes((folder / name).c_str(), aged);
    }
    writeFile(folder / ".library.json.FRESH1", "in progress");
    writeFile(folder / ".library.json.bak", "not ours");
    const struct timeval old[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
    ::utimes((folder / ".library.json.bak").c_str(), old);
    LibraryFile::write(path, tagged("after"));
    EXPECT_EQ(temporaries(), (std::set<std::string>{".library.json.FRESH1", ".library.json.bak"}));
}
