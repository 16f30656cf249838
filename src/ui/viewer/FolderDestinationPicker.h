#pragma once
// Where a copy of the picture on display goes: the known folders as a tree
// that lists children as it opens (its own expansion, the model's lists),
// an existing folder chosen in the file dialog, or a new folder. It only
// collects the choice; the caller does the copying.

#include <QWidget>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QScrollArea;

namespace mirelo {

class AppModel;
class DestinationFolderRow;

class FolderDestinationPicker : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 36, kMinimumList = 128, kMaximumList = 252;

    FolderDestinationPicker(AppModel& model, std::vector<std::string> roots, QWidget* parent = nullptr);

    // The list's height for `roots` rows.
    static int listHeight(size_t roots);
    QScrollArea* list() const { return list_; }
    const std::vector<DestinationFolderRow*>& rows() const { return rows_; }

    std::function<void(const std::string&folder)> addCopy, createInside, reveal;
    std::function<void()> chooseExisting, createFolder;

private:
    QScrollArea* list_ = nullptr;
    std::vector<DestinationFolderRow*> rows_;
    std::shared_ptr<std::set<std::string>> expanded_ = std::make_shared<std::set<std::string>>();
};

} // namespace mirelo
