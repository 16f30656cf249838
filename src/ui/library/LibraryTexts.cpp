#include "LibraryTexts.h"

#include "AppModel.h"
#include "Translation.h"
#include "common/Text.h"

#include <QFileInfo>

namespace mirelo::LibraryTexts {

QString sectionTitle(LibrarySection section)
{
    switch (section) {
    case LibrarySection::all: return translate("Mirelo", "All media");
    case LibrarySection::images: return translate("Mirelo", "Images");
    case LibrarySection::videos: return translate("Mirelo", "Videos");
    case LibrarySection::large: return translate("Mirelo", "Large files");
    case LibrarySection::duplicates: return translate("Mirelo", "Duplicates");
    }
    return {};
}

QString sortTitle(MediaSort sort)
{
    switch (sort) {
    case MediaSort::name: return translate("Mirelo", "Name");
    case MediaSort::largest: return translate("Mirelo", "Largest first");
    case MediaSort::smallest: return translate("Mirelo", "Smallest first");
    case MediaSort::newest: return translate("Mirelo", "Newest first");
    case MediaSort::format: return translate("Mirelo", "File format");
    }
    return {};
}

QString formatTitle(const QString& format)
{
    return format == AppModel::kAllFormatsLabel ? translate("Mirelo", "All formats") : format;
}

QString files(int64_t count) { return translate("Mirelo", "%Ln file(s)", nullptr, pluralCount(count)); }

QString bytes(int64_t count) { return sizeText(count); }

QString headerTitle(const AppModel& model)
{
    if (model.restoring()) return translate("Mirelo", "Opening your library…");
    if (const OptionalPath& folder = model.selectedFolder())
        return QFileInfo(QString::fromStdString(*folder)).fileName().isEmpty()
                   ? QString::fromStdString(*folder)
                   : QFileInfo(QString::fromStdString(*folder)).fileName();
    if (model.items().isEmpty()) return translate("Mirelo", "A home for every image.");
    return sectionTitle(model.section());
}

QString headerSubtitle(const AppModel& model)
{
    if (model.loadingContent()) return translate("Mirelo", "Preparing your media…");
    if (model.scopedItems().isEmpty()) return translate("Mirelo", "Open, explore, and make a little room.");
    // The word stays plural even for one file.
    return translate("Mirelo", "%1  ·  %2 files  ·  %3")
        .arg(model.libraryName(), countText(model.scopedItems().size()), bytes(model.totalBytes()));
}

QString footerCount(const AppModel& model)
{
    if (model.loadingContent()) return translate("Mirelo", "Loading content…");
    return files(model.visible().size());
}

QString footerSelection(const AppModel& model)
{
    return translate("Mirelo", "%1 selected · %2")
        .arg(countText(qint64(model.selection().size())), bytes(model.selectedBytes()));
}

QString scanProgress(int found) { return translate("Mirelo", "Scanning · %1 files found").arg(countText(found)); }

QString duplicateProgress(int64_t done, int64_t total)
{
    if (total <= 0) return translate("Mirelo", "Looking for duplicates…");
    return translate("Mirelo", "Looking for duplicates… %1 of %2 files").arg(countText(done), countText(total));
}

QString duplicateHeader(bool similar, int count, int64_t freed)
{
    const QString copies = similar ? translate("Mirelo", "%Ln similar photos", nullptr, count)
                                   : translate("Mirelo", "%Ln copies", nullptr, count);
    return translate("Mirelo", "%1 · %2 could be freed").arg(copies, bytes(freed));
}

QString allCopiesTitle() { return translate("Mirelo", "Move all copies to the Trash?"); }

QString allCopiesMessage(int groups, int64_t files, int64_t bytes)
{
    return translate("Mirelo",
                     "All copies of %Ln picture(s) are among the %1 files. Nothing of them will be left in "
                     "your library. You can restore them from the Trash (%2).",
                     nullptr, groups)
        .arg(countText(files), LibraryTexts::bytes(bytes));
}

QString keeperReason(int reason)
{
    switch (DuplicateGroups::Reason(reason)) {
    case DuplicateGroups::Reason::firstFolder: return translate("Mirelo", "Kept: in the folder you added first");
    case DuplicateGroups::Reason::oldest: return translate("Mirelo", "Kept: the oldest copy");
    case DuplicateGroups::Reason::largestPicture: return translate("Mirelo", "Kept: the largest picture");
    case DuplicateGroups::Reason::cameraDetails: return translate("Mirelo", "Kept: it carries the camera’s details");
    }
    return {};
}

QString emptyTitle(const AppModel& model)
{
    if (model.section() == LibrarySection::duplicates && !model.scanning())
        return model.duplicateSearch().running() ? translate("Mirelo", "Looking for duplicates…")
                                                 : translate("Mirelo", "No duplicates");
    return model.scanning() ? translate("Mirelo", "Finding your media…") : translate("Mirelo", "No matching files");
}

QString emptyMessage(const AppModel& model)
{
    if (model.section() == LibrarySection::duplicates)
        return model.duplicateKind() == DuplicateGroups::Kind::exact
                   ? translate("Mirelo", "Mirelo found no two files with the same content here.")
                   : translate("Mirelo", "Mirelo found no photos that look alike here.");
    return model.section() == LibrarySection::large ? translate("Mirelo", "Large files are 10 MB or more.")
                                                    : translate("Mirelo", "Try another format or a different search.");
}

QString trashTitle(int64_t count)
{
    return translate("Mirelo", "Move %Ln file(s) to Trash?", nullptr, pluralCount(count));
}

QString trashMessage(int64_t count)
{
    return translate("Mirelo", "%1 will be moved from their original folders. You can use Undo in Mirelo or "
                               "restore them from the Trash.")
        .arg(bytes(count));
}

QString selectAllTitle(const AppModel& model)
{
    const bool all = !model.visible().isEmpty() && model.selection().size() == size_t(model.visible().size());
    return all ? translate("Mirelo", "Deselect All") : translate("Mirelo", "Select All");
}

} // namespace mirelo::LibraryTexts
