#include "LibraryTexts.h"

#include "AppModel.h"
#include "common/Text.h"

#include <QFileInfo>

namespace mirelo::LibraryTexts {

QString files(int64_t count)
{
    return countText(count) + (count == 1 ? QStringLiteral(" file") : QStringLiteral(" files"));
}

QString bytes(int64_t count) { return QString::fromStdString(sizeLabel(count)); }

QString headerTitle(const AppModel& model)
{
    if (model.restoring()) return QStringLiteral("Opening your library…");
    if (const OptionalPath& folder = model.selectedFolder())
        return QFileInfo(QString::fromStdString(*folder)).fileName().isEmpty()
                   ? QString::fromStdString(*folder)
                   : QFileInfo(QString::fromStdString(*folder)).fileName();
    if (model.items().isEmpty()) return QStringLiteral("A home for every image.");
    const std::string_view title = LibrarySections::rawValue(model.section());
    return qstring(title);
}

QString headerSubtitle(const AppModel& model)
{
    if (model.loadingContent()) return QStringLiteral("Preparing your media…");
    if (model.scopedItems().isEmpty()) return QStringLiteral("Open, explore, and make a little room.");
    // The word stays plural even for one file.
    return model.libraryName() + QStringLiteral("  ·  ") + countText(model.scopedItems().size()) +
           QStringLiteral(" files  ·  ") + bytes(model.totalBytes());
}

QString footerCount(const AppModel& model)
{
    if (model.loadingContent()) return QStringLiteral("Loading content…");
    return files(model.visible().size());
}

QString footerSelection(const AppModel& model)
{
    return countText(qint64(model.selection().size())) + QStringLiteral(" selected · ") + bytes(model.selectedBytes());
}

QString scanProgress(int found)
{
    return QStringLiteral("Scanning · ") + countText(found) + QStringLiteral(" files found");
}

QString emptyTitle(const AppModel& model)
{
    return model.scanning() ? QStringLiteral("Finding your media…") : QStringLiteral("No matching files");
}

QString emptyMessage(const AppModel& model)
{
    return model.section() == LibrarySection::large ? QStringLiteral("Large files are 10 MB or more.")
                                                    : QStringLiteral("Try another format or a different search.");
}

QString trashTitle(int64_t count) { return QStringLiteral("Move ") + files(count) + QStringLiteral(" to Trash?"); }

QString trashMessage(int64_t count)
{
    return bytes(count) + QStringLiteral(" will be moved from their original folders. You can use Undo in Mirelo or "
                                         "restore them from the Trash.");
}

QString selectAllTitle(const AppModel& model)
{
    const bool all = !model.visible().isEmpty() && model.selection().size() == size_t(model.visible().size());
    return all ? QStringLiteral("Deselect All") : QStringLiteral("Select All");
}

} // namespace mirelo::LibraryTexts
