#pragma once
// Real files in a temporary folder for tests.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirelo::test {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern =
            std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/mirelo-test-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
        path_ = name.data();
    }
    ~TempFolder()
    {
        std::string command = "chmod -R u+rwx '" + path_ + "' 2>/dev/null; rm -rf '" + path_ + "'";
        [[maybe_unused]] int ignored = std::system(command.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

private:
    std::string path_;
};

// Writes the file, creating its folders.
inline void writeFile(const std::string& path, const std::string& contents = "data")
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    if (!out) throw std::runtime_error("cannot write " + path);
}

inline void makeFolder(const std::string& path) { writeFile(path + "/.keep", ""); }

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

inline bool exists(const std::string& path)
{
    struct stat attributes {};
    return ::lstat(path.c_str(), &attributes) == 0;
}

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Points the user's data, configuration and cache folders into `home`, and
// Qt at the offscreen platform: a test process's own desktop.
inline void useDesktopIn(const TempFolder& home)
{
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const std::string folder = home / name;
        makeFolder(folder);
        ::setenv(name, folder.c_str(), 1);
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// Runs the current test again in a private user and mount namespace
// (`unshare -rm`), where it may mount file systems of its own. The parent
// waits for that run and expects it to pass; the child runs the test body.
enum class MountNamespace { parent, child, unavailable };

inline MountNamespace enterMountNamespace()
{
    if (std::getenv("MIRELO_IN_MOUNT_NAMESPACE")) return MountNamespace::child;
    if (std::system("unshare -rm true >/dev/null 2>&1") != 0) return MountNamespace::unavailable;
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return MountNamespace::unavailable;
    self[length] = '\0';
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string command = "MIRELO_IN_MOUNT_NAMESPACE=1 unshare -rm '" + std::string(self) + "' --gtest_filter='" +
                                test->test_suite_name() + "." + test->name() + "'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << "the run inside a mount namespace failed";
    return MountNamespace::parent;
}

} // namespace mirelo::test

// The rest of the test runs where it may mount file systems; skipped where
// user namespaces are not allowed.
#define MIRELO_IN_MOUNT_NAMESPACE()                                                                                    \
    switch (::mirelo::test::enterMountNamespace()) {                                                                   \
    case ::mirelo::test::MountNamespace::parent: return;                                                               \
    case ::mirelo::test::MountNamespace::unavailable: GTEST_SKIP() << "no user namespaces here";                       \
    case ::mirelo::test::MountNamespace::child: break;                                                                 \
    }
