#include "library/LibraryFile.h"

#include "files/FileUrl.h"
#include "files/LibraryError.h"
#include "files/RegularFile.h"

#include <rapidjson/error/en.h>
#include <rapidjson/filereadstream.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <functional>
#include <memory>

namespace mirelo {

namespace {

std::string quoted(std::string_view text) { return "“" + std::string(text) + "”"; }

// The power of ten of a JSON number's first significant digit ("120" gives 2,
// "0.05" gives -2, "5e-7" gives -7), saturated; 0 for zero.
long long decimalMagnitude(std::string_view number)
{
    if (!number.empty() && number[0] == '-') number.remove_prefix(1);
    const size_t mark = number.find_first_of("eE");
    long long exponent = 0;
    if (mark != std::string_view::npos) {
        std::string_view digits = number.substr(mark + 1);
        const bool negative = !digits.empty() && digits[0] == '-';
        if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
        if (std::from_chars(digits.data(), digits.data() + digits.size(), exponent).ec != std::errc())
            exponent = std::numeric_limits<int>::max(); // more digits than any double needs
        if (negative) exponent = -exponent;
        number = number.substr(0, mark);
    }
    const size_t point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    if (whole.find_first_not_of('0') != std::string_view::npos)
        return exponent + (long long)(whole.size() - whole.find_first_not_of('0')) - 1;
    if (point == std::string_view::npos) return 0;
    const size_t first = number.find_first_not_of('0', point + 1);
    if (first == std::string_view::npos) return 0;
    return exponent - (long long)(first - point);
}

// Top-level keys; all but "selectedFolder" are required.
enum TopKey : unsigned {
    kVersion = 1u << 0,
    kItems = 1u << 1,
    kFolders = 1u << 2,
    kIndexed = 1u << 3,
    kExpanded = 1u << 4,
    kSort = 1u << 5,
    kSection = 1u << 6,
    kFormat = 1u << 7,
    kSearch = 1u << 8,
    kSelected = 1u << 9,
    kUnknown = 1u << 10,
};
constexpr std::pair<unsigned, const char*> kTopKeys[] = {
    {kVersion, "version"},
    {kItems, "items"},
    {kFolders, "folders"},
    {kIndexed, "indexedFolders"},
    {kExpanded, "expandedFolders"},
    {kSort, "sort"},
    {kSection, "section"},
    {kFormat, "format"},
    {kSearch, "search"},
    {kSelected, "selectedFolder"},
};
constexpr unsigned kRequired =
    kVersion | kItems | kFolders | kIndexed | kExpanded | kSort | kSection | kFormat | kSearch;

enum ItemKey : unsigned { kUrl = 1, kBytes = 2, kModified = 4, kIsVideo = 8, kItemUnknown = 16 };
constexpr std::pair<unsigned, const char*> kItemKeys[] = {
    {kUrl, "url"}, {kBytes, "bytes"}, {kModified, "modified"}, {kIsVideo, "isVideo"}};

class SnapshotHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, SnapshotHandler> {
public:
    LibrarySnapshot snapshot;
    std::string problem; // set when the handler stopped the parse
    bool versionSeen = false;
    int64_t version = 0;

    bool Null()
    {
        if (skip()) return skippedScalar();
        if (where_ == Where::Top && key_ == kSelected) return seen(), snapshot.selectedFolder.reset(), true;
        return wrongType();
    }
    bool Bool(bool b)
    {
        if (skip()) return skippedScalar();
        if (where_ == Where::Item && itemKey_ == kIsVideo) return itemSeen(), video_ = b, true;
        return wrongType();
    }
    // Numbers arrive as their text and are converted here, exactly: the JSON
    // library's own full-precision conversion reads out of bounds on some
    // long numbers.
    bool RawNumber(const char* text, rapidjson::SizeType length, bool)
    {
        const char* end = text + length;
        if (std::find_if(text, end, [](char c) { return c == '.' || c == 'e' || c == 'E'; }) == end) {
            int64_t integer = 0;
            if (auto [stop, error] = std::from_chars(text, end, integer); error == std::errc() && stop == end)
                return Int64(integer);
            uint64_t positive = 0;
            if (auto [stop, error] = std::from_chars(text, end, positive); error == std::errc() && stop == end)
                return Uint64(positive);
        }
        double value = 0;
        const auto [stop, error] = std::from_chars(text, end, value);
        if (error == std::errc::result_out_of_range && stop == end && decimalMagnitude({text, length}) < 0)
            value = text[0] == '-' ? -0.0 : 0.0; // too small for a double: zero, as any reader makes it
        else if (error != std::errc() || stop != end)
            return fail("the number " + quoted(std::string_view(text, std::min<size_t>(length, 32))) +
                        " is out of range");
        return Double(value);
    }
    bool Int(int i) { return Int64(i); }
    bool Uint(unsigned u) { return Int64(u); }
    bool Uint64(uint64_t u)
    {
        if (u > uint64_t(std::numeric_limits<int64_t>::max()))
            return where_ == Where::Item && itemKey_ == kBytes && !skip() ? Int64(-1) : Double(double(u));
        return Int64(int64_t(u));
    }
    bool Int64(int64_t i)
    {
        if (skip()) return skippedScalar();
        if (where_ == Where::Item) {
            // A size no file can have becomes unknown in MediaItem rather
            // than losing the library over it; the next scan reads the real one.
            if (itemKey_ == kBytes) return itemSeen(), bytes_ = i, true;
            if (itemKey_ == kModified) return itemSeen(), modified_ = double(i), true;
            return wrongType();
        }
        if (where_ == Where::Top && key_ == kVersion) {
            versionSeen = true;
            version = i;
            return seen(), true;
        }
        return wrongType();
    }
    bool Double(double d)
    {
        if (skip()) return skippedScalar();
        if (where_ == Where::Item && itemKey_ == kModified) return itemSeen(), modified_ = d, true;
        return wrongType();
    }
    bool String(const char* text, rapidjson::SizeType length, bool)
    {
        if (skip()) return skippedScalar();
        std::string_view value(text, length);
        if (where_ == Where::Item) {
            if (itemKey_ != kUrl) return wrongType();
            auto path = pathFromFileUrl(value);
            if (!path) return badUrl(value);
            path_ = std::move(*path);
            return itemSeen(), true;
        }
        if (where_ == Where::List) {
            auto path = pathFromFileUrl(value);
            if (!path) return badUrl(value);
            list_->push_back(std::move(*path));
            return true;
        }
        if (where_ != Where::Top) return wrongType();
        switch (key_) {
        case kSort: snapshot.sort = value; break;
        case kSection: snapshot.section = value; break;
        case kFormat: snapshot.format = value; break;
        case kSearch: snapshot.search = value; break;
        case kSelected: {
            auto path = pathFromFileUrl(value);
            if (!path) return badUrl(value);
            snapshot.selectedFolder = std::move(*path);
            break;
        }
        default: return wrongType();
        }
        return seen(), true;
    }
    bool StartObject()
    {
        if (skip()) return deeper();
        if (where_ == Where::Start) return where_ = Where::Top, true;
        if (where_ == Where::Items) {
            where_ = Where::Item;
            itemKeys_ = 0;
            return true;
        }
        return wrongType();
    }
    bool Key(const char* text, rapidjson::SizeType length, bool)
    {
        if (skip()) return true;
        std::string_view name(text, length);
        if (where_ == Where::Top) {
            key_ = kUnknown;
            for (auto [bit, label] : kTopKeys)
                if (name == label) key_ = bit;
            if (key_ == kUnknown) beginSkip();
            return true;
        }
        itemKey_ = kItemUnknown;
        for (auto [bit, label] : kItemKeys)
            if (name == label) itemKey_ = bit;
        if (itemKey_ == kItemUnknown) beginSkip();
        return true;
    }
    bool EndObject(rapidjson::SizeType)
    {
        if (skip()) return endSkip();
        if (where_ == Where::Item) {
            for (auto [bit, label] : kItemKeys)
                if (!(itemKeys_ & bit))
                    return fail("item " + std::to_string(snapshot.items.size() + 1) + " has no " + quoted(label));
            snapshot.items.append(MediaItem(path_, bytes_, modified_, video_));
            where_ = Where::Items;
            return true;
        }
        for (auto [bit, label] : kTopKeys)
            if ((kRequired & bit) && !(keys_ & bit)) return fail("the key " + quoted(label) + " is missing");
        where_ = Where::Done;
        return true;
    }
    bool StartArray()
    {
        if (skip()) return deeper();
        if (where_ != Where::Top) return wrongType();
        switch (key_) {
        case kItems: where_ = Where::Items; return true;
        case kFolders: list_ = &snapshot.folders; break;
        case kIndexed: list_ = &snapshot.indexedFolders; break;
        case kExpanded: list_ = &snapshot.expandedFolders; break;
        default: return wrongType();
        }
        list_->clear();
        where_ = Where::List;
        return true;
    }
    bool EndArray(rapidjson::SizeType)
    {
        if (skip()) return endSkip();
        where_ = Where::Top;
        return seen(), true;
    }

private:
    enum class Where { Start, Top, Items, Item, List, Done };
    static constexpr int kMostSkippedDepth = 64;

    // An unknown key's value is read and dropped, however deep.
    bool skip() const { return skipping_; }
    void beginSkip() { skipping_ = true, skipDepth_ = 0; }
    // No library file nests this deep: a deeper value is refused, not followed.
    bool deeper()
    {
        if (++skipDepth_ > kMostSkippedDepth) return fail("its values are nested too deeply");
        return true;
    }
    bool skippedScalar()
    {
        if (skipDepth_ == 0) skipping_ = false;
        return true;
    }
    bool endSkip()
    {
        if (--skipDepth_ == 0) skipping_ = false;
        return true;
    }
    void seen() { keys_ |= key_; }
    void itemSeen() { itemKeys_ |= itemKey_; }

    bool fail(std::string text)
    {
        problem = std::move(text);
        return false;
    }
    bool wrongType()
    {
        if (where_ == Where::Item)
            for (auto [bit, label] : kItemKeys)
                if (bit == itemKey_)
                    return fail(quoted(label) + " of item " + std::to_string(snapshot.items.size() + 1) +
                                " has the wrong type");
        if (where_ == Where::Start) return fail("it does not hold a JSON object");
        for (auto [bit, label] : kTopKeys)
            if (bit == key_) return fail(quoted(label) + " has the wrong type");
        return fail("a value has the wrong type");
    }
    bool badUrl(std::string_view value) { return fail(quoted(value) + " is not a file URL"); }

    Where where_ = Where::Start;
    unsigned key_ = 0, keys_ = 0;
    unsigned itemKey_ = 0, itemKeys_ = 0;
    int skipDepth_ = 0;
    bool skipping_ = false;
    std::vector<std::string>* list_ = nullptr;
    std::string path_;
    int64_t bytes_ = 0;
    double modified_ = 0;
    bool video_ = false;
};

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

} // namespace

namespace {

// Parses a whole document from `input`; `file` names it in messages.
template <typename Stream>
LibrarySnapshot parse(Stream& input, const std::string& file, const std::function<bool()>& readFailed)
{
    SnapshotHandler handler;
    rapidjson::Reader reader;
    // Iterative: the parser keeps its own stack on the heap, so no document
    // can exhaust the thread's stack.
    constexpr unsigned kFlags =
        rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag | rapidjson::kParseIterativeFlag;
    rapidjson::ParseResult parsed = reader.Parse<kFlags>(input, handler);
    if (readFailed && readFailed()) throw LibraryError(file + " couldn’t be read: " + systemErrorText(EIO) + ".");

    if (handler.versionSeen && handler.version != 1)
        throw LibraryError(file + " is not in a format this version of Mirelo can read (version " +
                           std::to_string(handler.version) + ").");
    if (parsed.IsError()) {
        if (!handler.problem.empty()) throw LibraryError(file + " is damaged: " + handler.problem + ".");
        if (parsed.Code() == rapidjson::kParseErrorDocumentEmpty) throw LibraryError(file + " is empty.");
        throw LibraryError(file + " is damaged: " + rapidjson::GetParseError_En(parsed.Code()) + " (at byte " +
                           std::to_string(parsed.Offset()) + ")");
    }
    handler.snapshot.version = int(handler.version);
    return std::move(handler.snapshot);
}

} // namespace

LibrarySnapshot LibraryFile::read(const std::string& path)
{
    const std::string file = "The library file " + quoted(path);
    // A pipe or device in the library's place would block the reader forever.
    FileDescriptor fd(RegularFile::open(path));
    if (!fd && errno == EINVAL) throw LibraryError(file + " couldn’t be read: it isn’t a regular file.");
    if (!fd) throw LibraryError(file + " couldn’t be read: " + systemErrorText(errno) + ".");
    std::unique_ptr<FILE, FileCloser> stream(::fdopen(fd.get(), "rb"));
    if (!stream) throw LibraryError(file + " couldn’t be read: " + systemErrorText(errno) + ".");
    fd.release();
    std::vector<char> buffer(1 << 16);
    rapidjson::FileReadStream input(stream.get(), buffer.data(), buffer.size());
    return parse(input, file, [&] { return std::ferror(stream.get()) != 0; });
}

LibrarySnapshot LibraryFile::decode(std::string_view bytes, const std::string& path)
{
    rapidjson::MemoryStream input(bytes.data(), bytes.size());
    return parse(input, "The library file " + quoted(path), {});
}

namespace {

// A JSON string literal; throws when the text is not valid UTF-8.
void appendJsonString(std::string& out, std::string_view text, const char* field)
{
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>, rapidjson::CrtAllocator,
                      rapidjson::kWriteValidateEncodingFlag>
        writer(buffer);
    if (!writer.String(text.data(), rapidjson::SizeType(text.size())))
        throw LibraryError(std::string("Couldn’t save the library: the ") + field + " is not valid UTF-8 text.");
    out.append(buffer.GetString(), buffer.GetSize());
}

// File URLs hold only unreserved ASCII and percent escapes: nothing to escape.
void appendUrlString(std::string& out, std::string_view path)
{
    out += '"';
    appendFileUrl(out, path);
    out += '"';
}

void appendNumber(std::string& out, auto value)
{
    char number[32];
    auto end = std::to_chars(number, number + sizeof number, value).ptr; // shortest round trip for doubles
    out.append(number, end);
}

void appendFolderList(std::string& out, const char* key, const std::vector<std::string>& folders)
{
    out += ",\"";
    out += key;
    out += "\":[";
    for (size_t i = 0; i < folders.size(); ++i) {
        if (i) out += ',';
        appendUrlString(out, folders[i]);
    }
    out += ']';
}

} // namespace

void LibraryFile::encode(const LibrarySnapshot& snapshot, FileSink& sink)
{
    std::string chunk;
    chunk.reserve(1 << 16);
    chunk += "{\"version\":";
    appendNumber(chunk, snapshot.version);
    chunk += ",\"items\":[";
    bool first = true;
    for (const MediaItem& item : snapshot.items) {
        if (!first) chunk += ',';
        first = false;
        chunk += "{\"url\":";
        appendUrlString(chunk, item.path());
        chunk += ",\"bytes\":";
        appendNumber(chunk, item.bytes());
        chunk += ",\"modified\":";
        appendNumber(chunk, std::isfinite(item.modified()) ? item.modified() : kDistantPast);
        chunk += item.isVideo() ? ",\"isVideo\":true}" : ",\"isVideo\":false}";
        if (chunk.size() > (1 << 16) - 4096) {
            sink.write(chunk);
            chunk.clear();
        }
    }
    chunk += ']';
    appendFolderList(chunk, "folders", snapshot.folders);
    appendFolderList(chunk, "indexedFolders", snapshot.indexedFolders);
    if (snapshot.selectedFolder) {
        chunk += ",\"selectedFolder\":";
        appendUrlString(chunk, *snapshot.selectedFolder);
    }
    appendFolderList(chunk, "expandedFolders", snapshot.expandedFolders);
    chunk += ",\"sort\":";
    appendJsonString(chunk, snapshot.sort, "sort order");
    chunk += ",\"section\":";
    appendJsonString(chunk, snapshot.section, "section");
    chunk += ",\"format\":";
    appendJsonString(chunk, snapshot.format, "format filter");
    chunk += ",\"search\":";
    appendJsonString(chunk, snapshot.search, "search text");
    chunk += '}';
    sink.write(chunk);
}

void LibraryFile::write(const std::string& path, const LibrarySnapshot& snapshot)
{
    AtomicFile::write(path, [&](FileSink& sink) { encode(snapshot, sink); });
}

} // namespace mirelo
