#include "TrashService.h"

#include "FileRename.h"
#include "FileUrl.h"
#include "LibraryError.h"

#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>

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

// The home trash, "$XDG_DATA_HOME/Trash", with its two folders. Qt trashes
// into "./files" of the working folder when the data folder is missing, so
// it must exist before any move.
void ensureHomeTrash()
{
    const std::string data =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).toStdString();
    if (data.empty() || data[0] != '/') return;
    std::string partial;
    for (std::string_view rest = data; !rest.empty();) {
        const size_t slash = rest.find('/', 1);
        partial += rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        ::mkdir(partial.c_str(), 0700);
    }
    for (const char* folder : {"/Trash", "/Trash/files", "/Trash/info"})
        ::mkdir((data + folder).c_str(), 0700);
}

// A real trash location: "<trash>/files/<name>" with its listing beside it.
bool isTrashLocation(const std::string& trashed)
{
    const std::string info = infoFileOf(trashed);
    return !trashed.empty() && trashed[0] == '/' && !info.empty() && exists(info) && exists(trashed);
}

} // namespace

TrashResult TrashService::move(const std::vector<std::string>& paths)
{
    TrashResult result;
    std::set<std::string> distinct;
    if (!paths.empty()) ensureHomeTrash();
    for (const std::string& path : paths) distinct.insert(standardisedPath(path));
    for (const std::string& path : distinct) {
        struct stat attributes;
        if (::lstat(path.c_str(), &attributes) != 0) {
            result.failures.push_back(failure(path, systemErrorText(errno)));
            continue;
        }
        QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
        if (!file.moveToTrash()) {
            // Nothing was moved; the file stays where it is.
            QString why = file.errorString();
            if (why.isEmpty() || why == QStringLiteral("Unknown error"))
                why = QStringLiteral("The trash on this drive can’t take it, so it was left in place.");
            result.failures.push_back(failure(path, why.toStdString()));
            continue;
        }
        const std::string trashed = absoluteStandardisedPath(QFile::encodeName(file.fileName()).toStdString());
        if (!isTrashLocation(trashed)) {
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
