#include "TrashService.h"

#include "FileRename.h"
#include "FileUrl.h"
#include "LibraryError.h"

#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <unordered_set>

namespace mirelo {

namespace {

std::string failure(std::string_view path, const std::string& why)
{
    return std::string(lastPathComponent(path)) + ": " + why;
}

bool exists(const std::string& path)
{
    struct stat attributes;
    return ::lstat(path.c_str(), &attributes) == 0;
}

// "<trash>/files/<name>" is listed by "<trash>/info/<name>.trashinfo".
std::string infoFileOf(const std::string& trashed)
{
    const std::string files(parentPath(trashed));
    if (lastPathComponent(files) != "files") return {};
    return std::string(parentPath(files)) + "/info/" + std::string(lastPathComponent(trashed)) + ".trashinfo";
}

std::string homeTrash()
{
    const std::string data =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).toStdString();
    return data.empty() || data[0] != '/' ? std::string() : standardisedPath(data + "/Trash");
}

// Makes the home trash and its two folders; "" or why it cannot be made. Qt
// trashes into "./files" of the working folder when it cannot make the home
// trash, so no move may start without one.
std::string ensureHomeTrash(const std::string& trash)
{
    if (trash.empty()) return "The Trash folder couldn’t be found.";
    std::string partial;
    for (std::string_view rest = trash; !rest.empty();) {
        const size_t slash = rest.find('/', 1);
        partial += rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        ::mkdir(partial.c_str(), 0700);
    }
    for (const char* folder : {"/files", "/info"}) {
        const std::string path = trash + folder;
        struct stat attributes;
        if (::mkdir(path.c_str(), 0700) != 0 && (::stat(path.c_str(), &attributes) != 0 || !S_ISDIR(attributes.st_mode)))
            return "The Trash folder “" + trash + "” couldn’t be made: " + systemErrorText(errno) + ".";
    }
    return {};
}

// A real trash location: "<trash>/files/<name>" with its listing beside it,
// where <trash> is the home trash or one at the top of a mount
// ("<top>/.Trash/<uid>" or "<top>/.Trash-<uid>").
bool isTrashLocation(const std::string& trashed, const std::string& home)
{
    if (trashed.empty() || trashed[0] != '/' || !exists(trashed)) return false;
    const std::string info = infoFileOf(trashed);
    if (info.empty() || !exists(info)) return false;
    const std::string trash(parentPath(parentPath(trashed)));
    const std::string uid = std::to_string(::getuid());
    const std::string_view name = lastPathComponent(trash);
    return trash == home || name == ".Trash-" + uid ||
           (name == uid && lastPathComponent(parentPath(trash)) == ".Trash");
}

} // namespace

TrashResult TrashService::move(const std::vector<std::string>& paths)
{
    TrashResult result;
    std::unordered_set<std::string> seen;
    const std::string home = homeTrash();
    const std::string unavailable = paths.empty() ? std::string() : ensureHomeTrash(home);
    for (const std::string& given : paths) {
        const std::string path = standardisedPath(given);
        if (!seen.insert(path).second) continue; // each file once, in the order given
        struct stat attributes;
        if (::lstat(path.c_str(), &attributes) != 0) {
            result.failures.push_back(failure(path, systemErrorText(errno)));
            continue;
        }
        if (!unavailable.empty()) {
            result.failures.push_back(failure(path, unavailable + " The file was left in place."));
            continue;
        }
        QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
        if (!file.moveToTrash()) {
            // Nothing was moved; the file stays where it is.
            struct stat trashAttributes;
            const bool otherDrive =
                ::stat(home.c_str(), &trashAttributes) == 0 && trashAttributes.st_dev != attributes.st_dev;
            std::string why = QFile::encodeName(file.errorString()).toStdString();
            if (otherDrive)
                why = "Its drive has no Trash that can take it, so it was left in place.";
            else if (why.empty() || why == "Unknown error")
                why = "The Trash can’t take it, so it was left in place.";
            else
                why = "The Trash can’t take it (" + why + "), so it was left in place.";
            result.failures.push_back(failure(path, why));
            continue;
        }
        const std::string trashed = absoluteStandardisedPath(QFile::encodeName(file.fileName()).toStdString());
        if (!isTrashLocation(trashed, home)) {
            // Moved somewhere that is not a trash: put it back where it was.
            if (trashed != path && exists(trashed) && renameWithoutReplacing(trashed, path) == 0) {
                if (std::string info = infoFileOf(trashed); !info.empty()) ::unlink(info.c_str());
                result.failures.push_back(
                    failure(path, "The Trash couldn’t be found, so the file was left in place."));
            } else {
                result.failures.push_back(failure(path, "The Trash didn’t say where it put the file; it is at “" +
                                                            trashed + "”."));
            }
            continue;
        }
        result.records.push_back({path, trashed});
    }
    return result;
}

TrashRestoreResult TrashService::restore(const std::vector<TrashRecord>& records)
{
    TrashRestoreResult result;
    for (const TrashRecord& record : records) {
        std::string why;
        const std::string folder(parentPath(record.original));
        struct stat attributes;
        if (!exists(record.trashed)) {
            why = "It is no longer in the Trash.";
        } else if (::stat(folder.c_str(), &attributes) != 0 || !S_ISDIR(attributes.st_mode)) {
            why = "Its folder “" + folder + "” no longer exists.";
        } else if (int error = renameWithoutReplacing(record.trashed, record.original); error != 0) {
            why = error == EEXIST ? "Another item with this name is already there." : systemErrorText(error);
        }
        if (!why.empty()) {
            result.remaining.push_back(record);
            result.failures.push_back(failure(record.original, why));
            continue;
        }
        if (std::string info = infoFileOf(record.trashed); !info.empty()) ::unlink(info.c_str());
        result.restored.push_back(record.original);
    }
    return result;
}

} // namespace mirelo
