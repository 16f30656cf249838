#include "files/FileUrl.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <vector>

namespace mirelo {

namespace {

// Bytes a file URL path carries as they are: unreserved, sub-delims, ":", "@", "/".
constexpr std::array<bool, 256> makeSafeTable()
{
    std::array<bool, 256> safe{};
    for (int c = 'a'; c <= 'z'; ++c) safe[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) safe[c] = true;
    for (int c = '0'; c <= '9'; ++c) safe[c] = true;
    for (char c : std::string_view("-._~!$&'()*+,;=:@/")) safe[static_cast<unsigned char>(c)] = true;
    return safe;
}
constexpr auto kSafe = makeSafeTable();

// Bytes written as they are: the same but ";", which GLib escapes, so that a
// URL names a file exactly as the desktop's (and so its thumbnails) does.
constexpr std::array<bool, 256> makeWrittenTable()
{
    std::array<bool, 256> written = makeSafeTable();
    written[static_cast<unsigned char>(';')] = false;
    return written;
}
constexpr auto kWritten = makeWrittenTable();

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

} // namespace

std::string standardisedPath(std::string_view path)
{
    // Fast path: already standard (no empty, "." or ".." components, no trailing "/").
    bool clean = !path.empty() && path[0] == '/';
    if (clean) {
        size_t start = 1;
        while (start <= path.size()) {
            size_t end = path.find('/', start);
            if (end == std::string_view::npos) end = path.size();
            std::string_view part = path.substr(start, end - start);
            if (part.empty() || part == "." || part == "..") {
                clean = path.size() == 1; // "/" alone is standard
                break;
            }
            start = end + 1;
        }
    }
    if (clean) return std::string(path);

    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    if (parts.empty()) return "/";
    std::string out;
    out.reserve(path.size());
    for (auto part : parts) {
        out += '/';
        out += part;
    }
    return out;
}

std::string absoluteStandardisedPath(std::string_view path)
{
    if (!path.empty() && path[0] == '/') return standardisedPath(path);
    std::string cwd;
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return standardisedPath(path);
        buffer.resize(buffer.size() * 2);
    }
    cwd = buffer.data();
    cwd += '/';
    cwd += path;
    return standardisedPath(cwd);
}

void appendFileUrl(std::string& out, std::string_view path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "file://";
    for (char ch : path) {
        auto byte = static_cast<unsigned char>(ch);
        if (kWritten[byte]) {
            out += ch;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
}

std::string fileUrlString(std::string_view path)
{
    std::string out;
    out.reserve(path.size() + 16);
    appendFileUrl(out, path);
    return out;
}

std::optional<std::string> pathFromFileUrl(std::string_view url)
{
    if (url.size() < 5 || !equalsIgnoringAsciiCase(url.substr(0, 5), "file:")) return std::nullopt;
    std::string_view rest = url.substr(5);
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        std::string_view host = rest.substr(0, slash);
        if (!host.empty() && !equalsIgnoringAsciiCase(host, "localhost")) return std::nullopt;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest[0] != '/') return std::nullopt;

    std::string path;
    path.reserve(rest.size());
    for (size_t i = 0; i < rest.size(); ++i) {
        char ch = rest[i];
        if (ch == '%') {
            if (i + 2 >= rest.size()) return std::nullopt;
            int hi = hexValue(rest[i + 1]), lo = hexValue(rest[i + 2]);
            if (hi < 0 || lo < 0) return std::nullopt;
            char byte = static_cast<char>(hi * 16 + lo);
            if (byte == '\0') return std::nullopt;
            path += byte;
            i += 2;
        } else if (kSafe[static_cast<unsigned char>(ch)]) {
            path += ch;
        } else {
            // Spaces, controls, raw non-ASCII bytes, "?", "#" and the like make
            // the string something other than a plain file URL.
            return std::nullopt;
        }
    }
    return path;
}

std::string_view lastPathComponent(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    if (path == "/") return {};
    size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view parentPath(std::string_view path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos || slash == 0) return "/";
    return path.substr(0, slash);
}

std::string_view pathExtension(std::string_view name)
{
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    return name.substr(dot + 1);
}

} // namespace mirelo
