#include "LibraryTexts.h"

#include "AppModel.h"
#include "Translation.h"
#include "common/Text.h"

#include <QFileInfo>

namespace mirelo::LibraryTexts {

namespace {

// For the catalogue: the core's names, translated where they are shown.
[[maybe_unused]] constexpr const char* kCoreNames[] = {
    QT_TRANSLATE_NOOP("Mirelo", "All media"),      QT_TRANSLATE_NOOP("Mirelo", "Images"),
    QT_TRANSLATE_NOOP("Mirelo", "Videos"),         QT_TRANSLATE_NOOP("Mirelo", "Large files"),
    QT_TRANSLATE_NOOP("Mirelo", "Name"),           QT_TRANSLATE_NOOP("Mirelo", "Largest first"),
    QT_TRANSLATE_NOOP("Mirelo", "Smallest first"), QT_TRANSLATE_NOOP("Mirelo", "Newest first"),
    QT_TRANSLATE_NOOP("Mirelo", "File format"),    QT_TRANSLATE_NOOP("Mirelo", "All formats"),
};

} // namespace

QString coreName(std::string_view name) { return translate("Mirelo", std::string(name).c_str()); }

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
    return coreName(LibrarySections::rawValue(model.section()));
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

QString emptyTitle(const AppModel& model)
{
    return model.scanning() ? translate("Mirelo", "Finding your media…") : translate("Mirelo", "No matching files");
}

QString emptyMessage(const AppModel& model)
{
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
