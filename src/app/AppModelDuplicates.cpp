// The duplicates section: the background search, its kind and steps, and
// the selection of the extra copies.

#include "AppModel.h"

#include "duplicates/FingerprintCache.h"

#include <QTimer>

namespace mirelo {

void AppModel::setUpDuplicates()
{
    duplicateSearch_ = std::make_unique<DuplicateSearch>(FingerprintCache::defaultPath());
    connect(duplicateSearch_.get(), &DuplicateSearch::progressChanged, this, &AppModel::duplicatesChanged);
    // The section fills as groups are found.
    connect(duplicateSearch_.get(), &DuplicateSearch::partial, this,
            [this](std::shared_ptr<const DuplicateGroups> groups) {
                duplicateGroups_ = std::move(groups);
                Q_EMIT duplicatesChanged();
                if (section_ == LibrarySection::duplicates) refreshVisible();
            });
    connect(duplicateSearch_.get(), &DuplicateSearch::finished, this, [this](const DuplicateSearch::Result& result) {
        duplicateGroups_ = result.groups;
        if (!result.stopped) duplicatesStale_ = false;
        Q_EMIT duplicatesChanged();
        if (section_ == LibrarySection::duplicates) refreshVisible();
    });
    // The library changed: the groups are looked for again when they are
    // shown (a search of the library as it was gives way to a new one).
    connect(this, &AppModel::itemsChanged, this, [this] {
        duplicatesStale_ = true;
        if (section_ == LibrarySection::duplicates && !restoring_)
            QTimer::singleShot(0, this, [this] {
                if (duplicatesStale_ && section_ == LibrarySection::duplicates) findDuplicates();
            });
    });
}

int AppModel::duplicateExtraCount() const
{
    int count = 0;
    if (duplicateGroups_)
        for (const DuplicateGroups::Group& group : duplicateGroups_->groups) count += int(group.paths.size()) - 1;
    return count;
}

void AppModel::setDuplicateKind(DuplicateGroups::Kind kind)
{
    if (kind == duplicateKind_) return;
    duplicateKind_ = kind;
    duplicateGroups_.reset();
    Q_EMIT duplicatesChanged();
    findDuplicates();
}

void AppModel::setSimilarity(int bits)
{
    if (bits == similarity_) return;
    similarity_ = bits;
    Q_EMIT duplicatesChanged();
    if (duplicateKind_ == DuplicateGroups::Kind::similar) findDuplicates();
}

void AppModel::findDuplicates()
{
    duplicateSearch_->start({items_, indexedFolders_, duplicateKind_, similarity_});
    refreshVisible();
}

void AppModel::stopDuplicates() { duplicateSearch_->stop(); }

void AppModel::selectExtraCopies()
{
    if (loadingContent_ || shownGroups_.empty()) return;
    PathSelection chosen;
    for (const ShownGroup& group : shownGroups_) {
        // A group whose keeper is filtered out keeps its first shown copy.
        for (int i = group.first + 1; i < group.first + group.count && i < visible_.size(); ++i)
            chosen.insert(std::string(visible_[i].path()));
    }
    setSelecting(true);
    setSelection(std::move(chosen));
}

int AppModel::groupsEmptiedBy(const MediaItems& items) const
{
    if (section_ != LibrarySection::duplicates || shownGroups_.empty()) return 0;
    std::unordered_set<std::string> going;
    for (const MediaItem& item : items) going.insert(std::string(item.path()));
    int emptied = 0;
    for (const ShownGroup& group : shownGroups_) {
        bool all = true;
        for (int i = group.first; i < group.first + group.count && i < visible_.size() && all; ++i)
            all = going.count(std::string(visible_[i].path())) > 0;
        emptied += all;
    }
    return emptied;
}

} // namespace mirelo
