#pragma once
// The fuzzer's bytes as a file, for readers that take a path: an anonymous
// in-memory file reached through /proc/self/fd.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzFile {
public:
    FuzzFile(const uint8_t* data, size_t size) : fd_(::memfd_create("fuzz", MFD_CLOEXEC))
    {
        for (size_t done = 0; fd_ >= 0 && done < size;) {
            const ssize_t n = ::write(fd_, data + done, size - done);
            if (n <= 0) break;
            done += size_t(n);
        }
    }
    ~FuzzFile()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};
