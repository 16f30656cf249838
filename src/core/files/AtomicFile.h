#pragma once
// Replacing a file so that a crash or power loss leaves either the old or
// the new contents, never a mixture: a temporary file in the same folder is
// written, flushed to disk, renamed over the old one, and the folder flushed.

#include <functional>
#include <string>
#include <string_view>

namespace mirelo {

// Buffered output to a file descriptor; write errors throw LibraryError.
class FileSink {
public:
    FileSink(int fd, std::string path) : fd_(fd), path_(std::move(path)) { buffer_.reserve(kCapacity); }
    void write(std::string_view bytes)
    {
        buffer_.append(bytes);
        if (buffer_.size() >= kCapacity) drain();
    }
    void drain();

private:
    static constexpr size_t kCapacity = 1 << 20;
    int fd_;
    std::string path_;
    std::string buffer_;
};

class AtomicFile {
public:
    // Creates the containing folder if needed, then writes through `produce`.
    // Throws LibraryError; the previous file is left untouched on failure.
    static void write(const std::string& path, const std::function<void(FileSink&)>& produce);
};

} // namespace mirelo
