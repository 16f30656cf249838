#include "TrashService.h"

#include "FileRename.h"
#include "FileUrl.h"
#include "LibraryError.h"

#include <QFile>

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

} // namespace

TrashResult TrashService::move(const std::vector<std::string>& paths)
{
    TrashResult result;
    std::set<std::string> distinct;
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
        const std::string trashed = QFile::encodeName(file.fileName()).toStdString();
        if (trashed.empty() || trashed == path || !exists(trashed)) {
            result.failures.push_back(failure(path, "Trash did not return a recovery location."));
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
