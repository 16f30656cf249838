#pragma once
// Opening a file that Mirelo reads: only a regular file, never blocking on
// the way in. A pipe, socket or device with a picture's name could block
// the reader forever (a FIFO has no writer) or have side effects.

#include <cstdint>
#include <optional>
#include <string>

namespace mirelo {

class RegularFile {
public:
    // An open read-only descriptor (close-on-exec, blocking reads) of the
    // regular file at `path`, or -1 with errno set (EINVAL for anything but a
    // regular file). `path` is the file's own bytes.
    static int open(const std::string& path);
    // The whole regular file at `path`, when it holds at most `most` bytes;
    // nothing when it is missing, not a regular file, larger, or unreadable.
    static std::optional<std::string> read(const std::string& path, int64_t most);
    // Is `path` a regular file now? Never opens it.
    static bool is(const std::string& path);
};

// Owns a descriptor from RegularFile::open.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    ~FileDescriptor() { reset(); }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1);

private:
    int fd_;
};

} // namespace mirelo
