// mirelo-index: index folders into the Mirelo library from a terminal, and
// query the library the way the library window does, or keep it current.

#include "AppModel.h"
#include "DuplicateSearch.h"
#include "duplicates/FingerprintCache.h"
#include "duplicates/SimilarPhotos.h"
#include "files/FileUrl.h"
#include "images/ImageDecoder.h"
#include "images/ImageModule.h"
#include "library/LibraryIndex.h"
#include "library/LibraryQuery.h"
#include "library/LibraryStore.h"
#include "library/MediaFormats.h"
#include "library/MediaScanner.h"
#include "PngWriter.h"
#include "images/VideoPoster.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

using namespace mirelo;

namespace {

constexpr const char* kUsage =
    "Usage: mirelo-index scan [--flat] [--library FILE] [PATH...]\n"
    "       mirelo-index query [--library FILE] [--folder DIR] [--section all|images|videos|large]\n"
    "                          [--format LABEL] [--search TEXT] [--sort ORDER] [--limit N] [--time]\n"
    "       mirelo-index watch [--library FILE]   keep the library current until Ctrl+C\n"
    "       mirelo-index thumb [--size N] [--time] FILE OUT.png   decode a preview (480 px by default)\n"
    "       mirelo-index duplicates [--similar [--within BITS]] [--library FILE] [--time]\n"
    "                          groups of identical files (or of photos alike), the one to keep first,\n"
    "                          a blank line between groups\n"
    "       mirelo-index --help | --version\n"
    "ORDER is one of \"Name\", \"Largest first\", \"Smallest first\", \"Newest first\", \"File format\".\n"
    "Exit status: 0 done, 1 a file or the library couldn’t be read or written, 2 a wrong command line,\n"
    "3 no preview could be made, 130 interrupted.\n";

// A path or the library couldn't be read or written.
constexpr int kExitFailed = 1;
// The command line was wrong.
constexpr int kExitUsage = 2;
constexpr int kExitCancelled = 130;

std::atomic<ScanToken*> activeToken{nullptr};

void cancelOnInterrupt(int)
{
    if (ScanToken* token = activeToken.load()) token->cancel();
}

int complain(const std::string& line)
{
    std::fprintf(stderr, "mirelo-index: %s\n", line.c_str());
    return kExitFailed;
}

// A wrong command line: what was wrong, then how it goes.
int usageError(const std::string& line)
{
    std::fprintf(stderr, "mirelo-index: %s\n%s", line.c_str(), kUsage);
    return kExitUsage;
}

// --help and --version, wherever they stand among the options.
bool answersHelp(const char* argument)
{
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
        std::fputs(kUsage, stdout);
        return true;
    }
    if (std::strcmp(argument, "--version") == 0 || std::strcmp(argument, "-v") == 0) {
        std::printf("mirelo-index %s\n", MIRELO_VERSION);
        return true;
    }
    return false;
}

struct Arguments {
    std::vector<std::string> positional;
    std::string library = LibraryStore::defaultPath();
    bool flat = false, time = false;
    std::optional<std::string> folder, section, format, search, sort, limit;
};

// One path a line: a backslash is written "\\" and a newline "\n", so
// that every name, however odd, stays on its own line and can be read back.
void appendEscaped(std::string& out, std::string_view path)
{
    for (char c : path) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
}

// The query's "--name value" options.
std::optional<std::string>* queryOption(Arguments& args, const std::string& option)
{
    const std::pair<const char*, std::optional<std::string>*> options[] = {
        {"--folder", &args.folder}, {"--section", &args.section}, {"--format", &args.format},
        {"--search", &args.search}, {"--sort", &args.sort},       {"--limit", &args.limit}};
    for (auto [name, slot] : options)
        if (option == name) return slot;
    return nullptr;
}

// Parses "--name value" options; false with a message on a bad option.
bool parse(int argc, char** argv, bool scan, Arguments& args)
{
    for (int i = 2; i < argc; ++i) {
        std::string option = argv[i];
        auto value = [&](std::optional<std::string>& slot) {
            if (i + 1 >= argc) {
                usageError("the option " + option + " needs a value");
                return false;
            }
            slot = argv[++i];
            return true;
        };
        std::optional<std::string> library;
        if (option == "--library") {
            if (!value(library)) return false;
            args.library = *library;
        } else if (scan && option == "--flat") {
            args.flat = true;
        } else if (!scan && option == "--time") {
            args.time = true;
        } else if (auto slot = queryOption(args, option); !scan && slot) {
            if (!value(*slot)) return false;
        } else if (option == "--") {
            for (++i; i < argc; ++i) args.positional.emplace_back(argv[i]);
        } else if (option.starts_with("--")) {
            usageError("unknown option " + option);
            return false;
        } else if (scan) {
            args.positional.push_back(option);
        } else {
            usageError("unexpected argument " + option);
            return false;
        }
    }
    return true;
}

// Loads the library; on failure says so and never lets the file be written.
std::optional<LibrarySnapshot> loadLibrary(LibraryStore& store)
{
    try {
        if (auto snapshot = store.load()) return snapshot;
        return LibrarySnapshot{};
    } catch (const LibraryError& error) {
        std::fprintf(stderr, "Couldn’t read the saved library. The saved index has been left untouched. %s\n",
                     error.what());
        return std::nullopt;
    }
}

std::string defaultScanFolder()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir(pictures).exists()) return pictures.toStdString();
    return QDir::homePath().toStdString();
}

int scanCommand(Arguments& args)
{
    if (args.positional.empty()) args.positional.push_back(defaultScanFolder());
    std::vector<std::string> roots, missing;
    bool badInput = false;
    for (const auto& given : args.positional) {
        std::string root = absoluteStandardisedPath(given);
        struct stat attributes {};
        if (::lstat(root.c_str(), &attributes) != 0) {
            complain("“" + given + "” couldn’t be read: " + systemErrorText(errno));
            badInput = true;
            missing.push_back(root);
        }
        roots.push_back(root);
    }

    LibraryStore store(args.library);
    auto snapshot = loadLibrary(store);
    if (!snapshot) return kExitFailed;

    auto token = ScanToken::make();
    activeToken = token.get();
    struct sigaction action {};
    action.sa_handler = cancelOnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const bool terminal = isatty(STDERR_FILENO);
    const bool recursive = !args.flat;
    ScanResult result = MediaScanner::scan(roots, recursive, *token, [&](int found) {
        if (terminal) std::fprintf(stderr, "\r\033[KScanning… %d files found", found);
    });
    activeToken = nullptr;
    if (terminal) std::fprintf(stderr, "\r\033[K");

    // Other indexed folders strictly inside the roots keep their items even
    // when a shallower scan of a parent did not reach them.
    std::vector<std::string> preserving;
    for (const auto& folder : snapshot->indexedFolders) {
        std::string standard = standardisedPath(folder);
        bool isRoot = std::find(roots.begin(), roots.end(), standard) != roots.end();
        bool inside = std::any_of(roots.begin(), roots.end(),
                                  [&](const std::string& root) { return LibraryIndex::contains(standard, root); });
        if (!isRoot && inside) preserving.push_back(folder);
    }
    const bool replace = !result.cancelled && result.inaccessible == 0;
    snapshot->items = LibraryIndex::merging(result.items, snapshot->items, roots, replace, recursive, preserving);
    if (recursive && !result.cancelled) {
        for (const auto& root : roots) {
            if (std::find(missing.begin(), missing.end(), root) != missing.end()) continue;
            bool known = std::any_of(snapshot->indexedFolders.begin(), snapshot->indexedFolders.end(),
                                     [&](const std::string& f) { return standardisedPath(f) == root; });
            if (!known) snapshot->indexedFolders.push_back(root);
        }
    }

    try {
        store.flush(*snapshot);
    } catch (const LibraryError& error) {
        std::fprintf(stderr, "Couldn’t save the library. %s\n", error.what());
        return kExitFailed;
    }
    std::printf("items=%lld inaccessible=%d cancelled=%d\n", static_cast<long long>(result.items.size()),
                result.inaccessible, result.cancelled ? 1 : 0);
    if (result.cancelled) return kExitCancelled;
    return badInput ? kExitFailed : 0;
}

int queryCommand(Arguments& args)
{
    LibraryQueryInput input;
    input.folder = args.folder ? std::optional(absoluteStandardisedPath(*args.folder)) : std::nullopt;
    if (args.section) {
        const std::pair<const char*, LibraryMediaFilter> sections[] = {{"all", LibraryMediaFilter::all},
                                                                       {"images", LibraryMediaFilter::images},
                                                                       {"videos", LibraryMediaFilter::videos},
                                                                       {"large", LibraryMediaFilter::large}};
        auto it = std::find_if(std::begin(sections), std::end(sections),
                               [&](const auto& s) { return *args.section == s.first; });
        if (it == std::end(sections))
            return usageError("unknown section “" + *args.section + "” (all, images, videos or large)");
        input.section = it->second;
    }
    if (args.sort) {
        auto sort = MediaSorts::fromRawValue(*args.sort);
        if (!sort)
            return usageError("unknown sort “" + *args.sort +
                              "” (Name, Largest first, Smallest first, Newest first or File format)");
        input.sort = *sort;
    }
    long long limit = -1;
    if (args.limit) {
        char* end = nullptr;
        limit = std::strtoll(args.limit->c_str(), &end, 10);
        if (args.limit->empty() || *end != '\0' || limit < 0)
            return usageError("--limit needs a whole number, not “" + *args.limit + "”");
    }
    if (args.format) input.format = *args.format;
    if (args.search) input.search = *args.search;

    using Clock = std::chrono::steady_clock;
    auto started = Clock::now();
    LibraryStore store(args.library);
    auto snapshot = loadLibrary(store);
    if (!snapshot) return kExitFailed;
    input.items = snapshot->items;
    auto loaded = Clock::now();
    ScanToken token;
    auto result = LibraryQuery::run(input, token);
    auto queried = Clock::now();
    if (!result) return complain("the query was cancelled");

    std::string out;
    qsizetype shown =
        limit < 0 ? result->visible.size() : std::min<qsizetype>(result->visible.size(), qsizetype(limit));
    for (qsizetype i = 0; i < shown; ++i) {
        appendEscaped(out, result->visible[i].path());
        out += '\n';
        if (out.size() > (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    out += "visible=" + std::to_string(result->visible.size()) +
           " scoped=" + std::to_string(result->scopedItems.size()) + " bytes=" + std::to_string(result->totalBytes) +
           " formats=";
    for (size_t i = 0; i < result->formats.size(); ++i) out += (i ? "," : "") + result->formats[i];
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (args.time) {
        auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
        std::fprintf(stderr, "load_ms=%.1f query_ms=%.1f\n", ms(loaded - started), ms(queried - loaded));
    }
    return 0;
}

std::atomic<bool> stopWatching{false};

// Runs the application model over the library: the launch re-read, then
// every change on disk below the indexed folders, saved as it happens.
int watchCommand(int argc, char** argv)
{
    std::string library = LibraryStore::defaultPath();
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--library") == 0 && i + 1 < argc)
            library = argv[++i];
        else
            return usageError(std::string("unexpected argument ") + argv[i]);
    }
    QCoreApplication application(argc, argv);
    AppModel model(library);
    struct sigaction action {};
    action.sa_handler = [](int) { stopWatching = true; };
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (stopWatching) application.quit();
    });
    poll.start(100);
    QObject::connect(&model, &AppModel::restoringChanged, [&] {
        std::fprintf(stderr, "watching %zu folders, items=%lld\n", model.indexedFolders().size(),
                     static_cast<long long>(model.items().size()));
    });
    QObject::connect(&model, &AppModel::itemsChanged, [&] {
        if (!model.restoring()) std::fprintf(stderr, "items=%lld\n", static_cast<long long>(model.items().size()));
    });
    QObject::connect(&model, &AppModel::errorMessageChanged, [&] {
        if (model.errorMessage()) std::fprintf(stderr, "%s\n", model.errorMessage()->toUtf8().constData());
        if (model.restoreError()) application.exit(kExitFailed);
    });
    const int status = application.exec();
    if (status != 0) return status;
    try {
        model.flushLibrary();
    } catch (const LibraryError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return kExitFailed;
    }
    return 0;
}

// Decodes one file the way the grid's previews are made and writes it as PNG.
int thumbCommand(int argc, char** argv)
{
    int size = 480;
    bool time = false;
    std::vector<std::string> paths;
    bool options = true;
    for (int i = 2; i < argc; ++i) {
        if (options && std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            size = std::atoi(argv[++i]);
            if (size < 1) return usageError("--size must be a positive number of pixels");
        } else if (options && std::strcmp(argv[i], "--time") == 0) {
            time = true;
        } else if (options && std::strcmp(argv[i], "--") == 0) {
            options = false;
        } else if (options && argv[i][0] == '-' && argv[i][1] != '\0') {
            return usageError(std::string("unknown option ") + argv[i]);
        } else {
            paths.emplace_back(argv[i]);
        }
    }
    if (paths.size() != 2) return usageError("thumb needs a FILE and an OUT.png");
    // No application object: the decoders need none, and it costs start-up time.

    const auto started = std::chrono::steady_clock::now();
    QImage image;
    std::string detail;
    if (MediaFormats::isVideo(paths[0])) {
        image = VideoPoster::frame(paths[0], size);
    } else if (auto decoded = ImageDecoder::decode(paths[0], size)) {
        image = decoded->image;
        detail = " pixels=" + std::to_string(int64_t(decoded->pixels.width)) + "x" +
                 std::to_string(int64_t(decoded->pixels.height)) + (decoded->downsampled ? " downsampled" : "");
    }
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    if (image.isNull()) {
        std::fprintf(stderr, "mirelo-index: %s can’t be previewed\n", paths[0].c_str());
        return 3;
    }
    const auto saving = std::chrono::steady_clock::now();
    if (const std::string why = writePng(image, paths[1]); !why.empty()) {
        std::fprintf(stderr, "mirelo-index: couldn’t write %s: %s\n", paths[1].c_str(), why.c_str());
        return 3;
    }
    const double saved = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - saving).count();
    std::printf("%dx%d%s\n", image.width(), image.height(), detail.c_str());
    if (time) std::fprintf(stderr, "decode_ms=%.1f save_ms=%.1f\n", elapsed, saved);
    std::fflush(nullptr);
    std::_Exit(0); // nothing is left to tidy: skip the libraries' exit handlers
}

int duplicatesCommand(int argc, char** argv)
{
    std::string library = LibraryStore::defaultPath();
    bool similar = false, time = false;
    int within = SimilarPhotos::kVerySimilar;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--library" && i + 1 < argc) {
            library = argv[++i];
        } else if (option == "--similar") {
            similar = true;
        } else if (option == "--within" && i + 1 < argc) {
            char* end = nullptr;
            within = int(std::strtol(argv[++i], &end, 10));
            if (*end != '\0' || within < 0 || within > 31) return usageError("--within needs 0 to 31 bits");
        } else if (option == "--time") {
            time = true;
        } else {
            return usageError("unexpected argument " + option);
        }
    }
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    LibraryStore store(library);
    auto snapshot = loadLibrary(store);
    if (!snapshot) return kExitFailed;
    FingerprintCache cache;
    cache.load();
    static std::atomic<bool> stop{false};
    std::signal(SIGINT, [](int) { stop = true; });
    DuplicateSearch::Input input{snapshot->items, snapshot->indexedFolders,
                                 similar ? DuplicateGroups::Kind::similar : DuplicateGroups::Kind::exact, within};
    const DuplicateSearch::Result result = DuplicateSearch::find(input, cache, stop);
    const auto found = Clock::now();
    cache.save();

    std::unordered_map<std::string, int64_t> bytes;
    for (const MediaItem& item : snapshot->items) bytes.emplace(std::string(item.path()), item.bytes());
    std::string out;
    int64_t freed = 0;
    for (const DuplicateGroups::Group& group : result.groups->groups) {
        if (!out.empty()) out += '\n';
        for (size_t i = 0; i < group.paths.size(); ++i) {
            appendEscaped(out, group.paths[i]);
            out += '\n';
            if (i > 0) freed += bytes[group.paths[i]];
        }
    }
    const size_t groups = result.groups->groups.size(), unreadable = result.unreadable;
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fprintf(stderr, "groups=%zu could_free=%lld unreadable=%zu%s\n", groups, static_cast<long long>(freed),
                 unreadable, stop ? " interrupted" : "");
    if (time)
        std::fprintf(stderr, "find_ms=%.1f\n", std::chrono::duration<double, std::milli>(found - started).count());
    return stop ? kExitCancelled : 0;
}

} // namespace

int main(int argc, char** argv)
{
    ImageModule::prepareProcess();
    if (argc < 2) return usageError("a command is needed");
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (answersHelp(argv[i])) return 0;
    std::string command = argv[1];
    if (command == "watch") return watchCommand(argc, argv);
    if (command == "thumb") return thumbCommand(argc, argv);
    if (command == "duplicates") return duplicatesCommand(argc, argv);
    bool scan = command == "scan";
    if (!scan && command != "query") return usageError("unknown command “" + command + "”");
    Arguments args;
    if (!parse(argc, argv, scan, args)) return kExitUsage;
    return scan ? scanCommand(args) : queryCommand(args);
}
