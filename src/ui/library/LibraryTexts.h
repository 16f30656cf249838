#pragma once
// The library window's words, made from the model's state: the header, the
// footer, the empty state and the Trash alert.

#include "LibrarySection.h"
#include "library/MediaSort.h"

#include <QString>

#include <cstdint>

namespace mirelo {

class AppModel;

namespace LibraryTexts {

QString headerTitle(const AppModel& model);
QString headerSubtitle(const AppModel& model);
// Outside selection mode: "1 file", "240 files", or "Loading content…".
QString footerCount(const AppModel& model);
// In selection mode: "3 selected · 12 KB".
QString footerSelection(const AppModel& model);
QString scanProgress(int found);
// "Looking for duplicates… 12,400 of 100,000 files".
QString duplicateProgress(int64_t done, int64_t total);
// A group's header: "3 copies · 24 MB could be freed".
QString duplicateHeader(bool similar, int count, int64_t freed);
// The Trash's confirmation when every copy of some groups would go.
QString allCopiesTitle();
QString allCopiesMessage(int groups, int64_t files, int64_t bytes);
// Why a card is the copy to keep, for its tooltip.
QString keeperReason(int reason);
QString emptyTitle(const AppModel& model);
QString emptyMessage(const AppModel& model);
QString trashTitle(int64_t count);
QString trashMessage(int64_t bytes);
// "Select All", or "Deselect All" when every visible item is selected.
QString selectAllTitle(const AppModel& model);
// "N file" or "N files".
QString files(int64_t count);
// What the user reads for a section, a sort and a format filter (the model
// keeps enums; the library file keeps its own names, read and written only
// where the file is).
QString sectionTitle(LibrarySection section);
QString sortTitle(MediaSort sort);
QString formatTitle(const QString& format);
QString bytes(int64_t count);

} // namespace LibraryTexts
} // namespace mirelo
