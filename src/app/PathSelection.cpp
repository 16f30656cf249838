#include "PathSelection.h"

namespace mirelo {

PathSelection::PathSelection(std::initializer_list<std::string> paths) : extra_(paths.begin(), paths.end()) {}

PathSelection PathSelection::everyIn(const MediaIDSet& ids)
{
    PathSelection selection;
    if (!ids.empty()) selection.bulk_ = std::make_shared<const MediaIDSet>(ids);
    return selection;
}

size_t PathSelection::size() const { return (bulk_ ? bulk_->size() : 0) - removed_.size() + extra_.size(); }

bool PathSelection::contains(std::string_view path) const
{
    if (extra_.find(path) != extra_.end()) return true;
    return inBulk(path) && removed_.find(path) == removed_.end();
}

bool PathSelection::insert(const std::string& path)
{
    if (inBulk(path)) return removed_.erase(path) > 0;
    return extra_.insert(path).second;
}

bool PathSelection::erase(const std::string& path)
{
    if (inBulk(path)) return removed_.insert(path).second;
    return extra_.erase(path) > 0;
}

void PathSelection::forEach(const std::function<void(std::string_view)>& visit) const
{
    if (bulk_)
        for (const MediaItem& item : bulk_->items())
            if (removed_.empty() || removed_.find(item.path()) == removed_.end()) visit(item.path());
    for (const std::string& path : extra_) visit(path);
}

bool PathSelection::operator==(const PathSelection& other) const
{
    if (size() != other.size()) return false;
    if (bulk_ == other.bulk_ && removed_ == other.removed_ && extra_ == other.extra_) return true;
    bool same = true;
    forEach([&](std::string_view path) { same = same && other.contains(path); });
    return same;
}

} // namespace mirelo
