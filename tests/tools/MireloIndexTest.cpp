#include "../TestFiles.h"
#include "../ImageFixtures.h"
#include "../VideoFixtures.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <sstream>
#include <utility>
#include <cstdio>

using namespace mirelo::test;

namespace {

struct Run {
    int status = -1;
    std::string out, err;
};

std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

Run program(const std::string& environment, const char* binary, const std::vector<std::string>& args,
            const TempFolder& folder)
{
    // A run that hangs ends as a failure (status 124) instead of hanging the suite.
    std::string command = environment + " timeout 60 " + quoted(binary);
    for (const auto& a : args) command += " " + quoted(a);
    command += " 2>" + quoted(folder / "stderr.txt");
    Run run;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    while (size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) run.out.append(buffer.data(), n);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(folder / "stderr.txt");
    return run;
}

Run mireloIndex(const std::vector<std::string>& args, const TempFolder& folder)
{
    return program("", MIRELO_INDEX, args, folder);
}

} // namespace

TEST(MireloIndex, ScansMergesAndQueries)
{
    TempFolder folder;
    const std::string library = folder / "data/library.json";
    writeFile(folder / "pics/a.jpg", "1");
    writeFile(folder / "pics/sub/b.PNG", "22");
    writeFile(folder / "pics/sub/movie.mp4", "333");
    writeFile(folder / "pics/notes.txt");

    auto scan = mireloIndex({"scan", "--library", library, folder / "pics", folder / "missing"}, folder);
    EXPECT_EQ(scan.out, "items=3 inaccessible=1 cancelled=0\n");
    EXPECT_EQ(scan.status, 1); // the missing path is bad input; the rest was still scanned
    EXPECT_NE(scan.err.find("missing"), std::string::npos);

    auto query = mireloIndex({"query", "--library", library, "--sort", "Largest first"}, folder);
    EXPECT_EQ(query.status, 0);
    EXPECT_EQ(query.out, folder / "pics/sub/movie.mp4\n" + folder / "pics/sub/b.PNG\n" + folder / "pics/a.jpg\n" +
                             "visible=3 scoped=3 bytes=6 formats=JPG,MP4,PNG\n");
    auto filtered = mireloIndex({"query", "--library", library, "--folder", folder / "pics/sub", "--section", "images",
                                 "--limit", "0", "--time"},
                                folder);
    EXPECT_EQ(filtered.out, "visible=1 scoped=2 bytes=5 formats=MP4,PNG\n");
    EXPECT_NE(filtered.err.find("load_ms="), std::string::npos);

    // A complete rescan drops what has gone.
    ::unlink((folder / "pics/a.jpg").c_str());
    EXPECT_EQ(mireloIndex({"scan", "--library", library, folder / "pics"}, folder).out,
              "items=2 inaccessible=0 cancelled=0\n");
    EXPECT_NE(mireloIndex({"query", "--library", library}, folder).out.find("visible=2 "), std::string::npos);
    EXPECT_NE(readFile(library).find("\"indexedFolders\":[\"file://" + folder.path() + "/pics\"]"), std::string::npos);
}

TEST(MireloIndex, BadInputGetsOneClearLine)
{
    TempFolder folder;
    const std::string library = folder / "library.json";
    auto unknownOption = mireloIndex({"scan", "--deep", folder.path()}, folder);
    EXPECT_EQ(unknownOption.status, 2) << "a usage error";
    EXPECT_NE(unknownOption.err.find("unknown option --deep"), std::string::npos);
    auto unknownSort = mireloIndex({"query", "--library", library, "--sort", "Biggest"}, folder);
    EXPECT_EQ(unknownSort.status, 2);
    EXPECT_NE(unknownSort.err.find("unknown sort “Biggest”"), std::string::npos);

    writeFile(library, "{\"version\":1,");
    writeFile(folder / "pics/a.jpg");
    auto unreadable = mireloIndex({"scan", "--library", library, folder / "pics"}, folder);
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err.rfind("Couldn’t read the saved library. The saved index has been left untouched. ", 0), 0u)
        << unreadable.err;
    EXPECT_EQ(readFile(library), "{\"version\":1,");
    EXPECT_EQ(mireloIndex({"query", "--library", library}, folder).status, 1);
    for (const std::vector<std::string>& asked : {std::vector<std::string>{"--version"}, {"query", "--help"}}) {
        const auto answer = mireloIndex(asked, folder);
        EXPECT_EQ(answer.status, 0) << asked.back();
        EXPECT_TRUE(answer.out.starts_with(asked.back() == "--help" ? "Usage: mirelo-index" : "mirelo-index "))
            << answer.out;
    }
}

TEST(MireloIndex, WatchKeepsTheLibraryCurrentUntilInterrupted)
{
    TempFolder folder;
    const std::string library = folder / "library.json";
    writeFile(folder / "pics/a.jpg");
    ASSERT_EQ(mireloIndex({"scan", "--library", library, folder / "pics"}, folder).status, 0);

    const std::string err = quoted(folder / "watch.txt");
    const std::string script = "cd " + quoted(folder.path()) + " && (" + quoted(MIRELO_INDEX) + " watch --library " +
                               quoted(library) + " 2>" + err + " & pid=$!; until grep -q watching " + err +
                               "; do sleep 0.05; done; echo x > pics/b.png; until grep -q items=2 " + err +
                               "; do sleep 0.1; done; kill -INT $pid; wait $pid)";
    const int status = std::system(("timeout 30 sh -c " + quoted(script)).c_str());
    EXPECT_EQ(WEXITSTATUS(status), 0) << readFile(folder / "watch.txt");
    auto query = mireloIndex({"query", "--library", library}, folder);
    EXPECT_EQ(query.out,
              folder / "pics/a.jpg\n" + folder / "pics/b.png\n" + "visible=2 scoped=2 bytes=6 formats=JPG,PNG\n");

    const std::string damaged = "{ not json";
    writeFile(library, damaged);
    auto refused = mireloIndex({"watch", "--library", library}, folder);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("Couldn’t read the saved library."), std::string::npos) << refused.err;
    EXPECT_EQ(readFile(library), damaged);
}

TEST(MireloIndex, HostileFilesNeitherHangNorGrowWithoutBound)
{
    TempFolder folder;
    // A drawing that declares a huge size is drawn at the size asked.
    writeFile(folder / "huge.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='600000' height='600000'>"
                                   "<rect width='600000' height='600000' fill='red'/></svg>");
    auto run = mireloIndex({"thumb", folder / "huge.svg", folder / "huge.png"}, folder);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "480x480 pixels=600000x600000 downsampled\n");
    EXPECT_TRUE(isRed(QImage(QString::fromStdString(folder / "huge.png")).pixelColor(240, 240)));
    // An output that is not a regular file is never written over or removed.
    ASSERT_EQ(::mkfifo((folder / "out.png").c_str(), 0600), 0);
    run = mireloIndex({"thumb", folder / "huge.svg", folder / "out.png"}, folder);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("isn’t a regular file"), std::string::npos) << run.err;
    struct stat output {};
    EXPECT_TRUE(::lstat((folder / "out.png").c_str(), &output) == 0 && S_ISFIFO(output.st_mode));
    // A name is never read for libvips' options.
    run = mireloIndex({"thumb", folder / "huge.png[]", folder / "x.png"}, folder);
    EXPECT_EQ(run.status, 3) << run.out;

    // Pipes in place of a video, a picture and the library are refused at once.
    for (const char* name : {"clip.mp4", "photo.jpg", "library.json"})
        ASSERT_EQ(::mkfifo((folder / name).c_str(), 0600), 0);
    for (const char* name : {"clip.mp4", "photo.jpg"}) {
        run = mireloIndex({"thumb", folder / name, folder / "x.png"}, folder);
        EXPECT_EQ(run.status, 3) << name << run.err;
    }
    run = mireloIndex({"query", "--library", folder / "library.json"}, folder);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("isn’t a regular file"), std::string::npos) << run.err;
}

TEST(MireloIndex, QueryWritesOddNamesOnOneLineEach)
{
    TempFolder folder;
    writeFile(folder / "pics/two\nlines.jpg");
    writeFile(folder / "pics/back\\slash.jpg");
    ASSERT_EQ(mireloIndex({"scan", "--library", folder / "library.json", folder / "pics"}, folder).status, 0);
    auto query = mireloIndex({"query", "--library", folder / "library.json"}, folder);
    EXPECT_EQ(query.out, folder / "pics/back\\\\slash.jpg\n" + folder / "pics/two\\nlines.jpg\n" +
                             "visible=2 scoped=2 bytes=8 formats=JPG\n");
}

// One Mirelo a session: on a private session bus, a second launch hands its
// file (a name that is not UTF-8) to the first and exits, and the first
// opens it; an unknown option is a usage error that reaches nobody.
TEST(Mirelo, ASecondLaunchHandsItsFileToTheFirstOverTheSessionBus)
{
    if (std::system("command -v dbus-run-session >/dev/null 2>&1") != 0) GTEST_SKIP() << "no dbus-run-session";
    TempFolder folder;
    const std::string photo = folder / "Pics/caf\xe9.jpg";
    makeFolder(folder / "Pics");
    ASSERT_TRUE(saveWithVips(markedPicture(64, 48), photo));
    const std::string library = folder / "data/com.tessel.local.viewer/library.json";
    const std::string script =
        "export HOME=" + quoted(folder.path()) + " XDG_DATA_HOME=" + quoted(folder / "data") +
        " XDG_CONFIG_HOME=" + quoted(folder / "config") + " XDG_CACHE_HOME=" + quoted(folder / "cache") +
        " QT_QPA_PLATFORM=offscreen MIRELO_REDUCE_MOTION=1; " + quoted(MIRELO_APP) + " 2>/dev/null & first=$!; " +
        "for i in $(seq 200); do dbus-send --session --print-reply --dest=org.freedesktop.DBus / "
        "org.freedesktop.DBus.NameHasOwner string:com.tessel.local.viewer 2>/dev/null | grep -q true && break; "
        "sleep 0.05; done; " +
        quoted(MIRELO_APP) + " --frobnicate " + quoted(photo) + " 2>" + quoted(folder / "usage.txt") + "; usage=$?; " +
        quoted(MIRELO_APP) + " " + quoted(photo) + " 2>/dev/null; second=$?; " +
        "for i in $(seq 200); do grep -q 'caf%E9.jpg' " + quoted(library) +
        " 2>/dev/null && break; sleep 0.05; done; " + "grep -q 'caf%E9.jpg' " + quoted(library) +
        "; opened=$?; kill $first; wait $first; " + "exit $((usage * 100 + second * 10 + opened))";
    const int status = std::system(("timeout 60 dbus-run-session -- sh -c " + quoted(script)).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 200) << "usage 2, the hand-over 0, the file opened by the first 0";
    EXPECT_NE(readFile(folder / "usage.txt").find("unknown option --frobnicate"), std::string::npos);
}

// Help and version are answered without a display to open windows on.
TEST(Mirelo, HelpAndVersionNeedNoDisplay)
{
    TempFolder folder;
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";
    const ::Run help = program(noDisplay, MIRELO_APP, {"-platform", "xcb", "--help"}, folder);
    EXPECT_EQ(help.status, 0) << help.err;
    EXPECT_EQ(help.out.rfind("Usage: mirelo [OPTION]...", 0), 0u) << help.out;
    const ::Run version = program(noDisplay, MIRELO_APP, {"--version"}, folder);
    EXPECT_EQ(version.status, 0) << version.err;
    EXPECT_EQ(version.out.rfind("mirelo ", 0), 0u) << version.out;
}

// An installation stands on its own: with the build's modules out of sight,
// the installed tool still previews a picture and a video.
TEST(Mirelo, AnInstallationStandsOnItsOwn)
{
    if (std::system("unshare -m true 2>/dev/null") != 0) GTEST_SKIP() << "no private mount namespace here";
    TempFolder folder;
    const std::string prefix = folder / "prefix";
    const std::string install = quoted(MIRELO_CMAKE) + " --install " + quoted(MIRELO_BUILD_DIR) + " --prefix " +
                                quoted(prefix) + " >" + quoted(folder / "install.txt");
    ASSERT_EQ(std::system(install.c_str()), 0) << readFile(folder / "install.txt");
    for (const std::string part :
         {"bin/mirelo", "bin/mirelo-index", MIRELO_MODULE_INSTALL_DIR "/libmirelo-images.so",
          MIRELO_MODULE_INSTALL_DIR "/libmirelo-video.so", "share/man/man1/mirelo.1.gz",
          "share/man/man1/mirelo-index.1.gz", "share/applications/com.tessel.local.viewer.desktop"})
        EXPECT_TRUE(exists(prefix + "/" + part)) << part;

    ASSERT_TRUE(saveWithVips(markedPicture(640, 480), folder / "photo.jpg"));
    ASSERT_TRUE(writeVideo(folder / "clip.mp4", 320, 240, 3));
    const std::string tool = quoted(prefix + "/bin/mirelo-index");
    const std::string script = "mount -t tmpfs none " + quoted(MIRELO_BUILT_MODULES) + " && " + tool + " thumb " +
                               quoted(folder / "photo.jpg") + " " + quoted(folder / "photo.png") + " && " + tool +
                               " thumb " + quoted(folder / "clip.mp4") + " " + quoted(folder / "clip.png");
    const int status =
        std::system(("unshare -m sh -c " + quoted(script) + " >/dev/null 2>" + quoted(folder / "thumb.txt")).c_str());
    EXPECT_EQ(status, 0) << readFile(folder / "thumb.txt");
    EXPECT_TRUE(exists(folder / "photo.png"));
    EXPECT_TRUE(exists(folder / "clip.png"));
}

// The groups are the ones jdupes finds in the same folders (hard links
// aside, which it leaves out too), the copy to keep first: the one in the
// folder added first. A second run reads the fingerprints it saved.
TEST(MireloIndex, DuplicatesAreTheGroupsJdupesFinds)
{
    if (std::system("command -v jdupes >/dev/null 2>&1") != 0) GTEST_SKIP() << "no jdupes";
    TempFolder folder;
    const std::string library = folder / "library.json";
    const std::string environment = "XDG_CACHE_HOME=" + quoted(folder / "cache");
    std::string photo(200'000, 'x'), other = photo;
    for (size_t i = 0; i < photo.size(); ++i) photo[i] = char(i * 7919 % 251);
    other = photo;
    other[100'000] = '!';
    writeFile(folder / "Phone/IMG_1.jpg", photo);
    writeFile(folder / "Pictures/2024/IMG_1.jpg", photo);
    writeFile(folder / "Pictures/export/IMG_1 copy.jpg", photo);
    writeFile(folder / "Pictures/edited.jpg", other);
    writeFile(folder / "Pictures/a.png", "same small");
    writeFile(folder / "Phone/b.png", "same small");
    ASSERT_EQ(::link((folder / "Pictures/edited.jpg").c_str(), (folder / "Pictures/edited link.jpg").c_str()), 0);
    ASSERT_EQ(program(environment, MIRELO_INDEX, {"scan", "--library", library, folder / "Phone"}, folder).status, 0);
    ASSERT_EQ(program(environment, MIRELO_INDEX, {"scan", "--library", library, folder / "Pictures"}, folder).status,
              0);

    auto groups = [](const std::string& listing) {
        std::set<std::set<std::string>> found;
        std::set<std::string> group;
        std::istringstream lines(listing);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty())
                group.insert(line);
            else if (!group.empty())
                found.insert(std::exchange(group, {}));
        }
        if (!group.empty()) found.insert(group);
        return found;
    };
    const auto found = program(environment, MIRELO_INDEX, {"duplicates", "--library", library}, folder);
    EXPECT_EQ(found.status, 0) << found.err;
    const auto jdupes = program("", "jdupes", {"-r", "-q", folder / "Phone", folder / "Pictures"}, folder);
    EXPECT_EQ(groups(found.out), groups(jdupes.out));
    EXPECT_EQ(groups(found.out).size(), 2u);
    EXPECT_TRUE(found.out.starts_with(folder / "Phone/IMG_1.jpg\n")) << found.out;
    EXPECT_NE(found.err.find("groups=2 could_free=400010 unreadable=0"), std::string::npos) << found.err;

    const auto again = program(environment, MIRELO_INDEX, {"duplicates", "--library", library}, folder);
    EXPECT_EQ(again.out, found.out);
    struct stat cache;
    ASSERT_EQ(::stat((folder / "cache/mirelo/fingerprints").c_str(), &cache), 0);
    EXPECT_EQ(cache.st_mode & 0777, 0600u);
}
