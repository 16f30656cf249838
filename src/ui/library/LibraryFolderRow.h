#pragma once
// One folder of the sidebar's FOLDERS tree, bound to the model: expanded
// and selected as the model says, its children listed below it while
// expanded, and the folder actions in its options.

#include <QWidget>

#include <string>
#include <vector>

class QVBoxLayout;

namespace mirelo {

class AppModel;
class FolderTreeRow;

class LibraryFolderRow : public QWidget {
    Q_OBJECT
public:
    LibraryFolderRow(AppModel& model, std::string path, int depth, QWidget* parent = nullptr);

    FolderTreeRow* row() const { return row_; }
    // The rows of the children shown now, in order.
    std::vector<LibraryFolderRow*> children() const { return children_; }

Q_SIGNALS:
    void revealRequested(const std::string& path);

private:
    void refresh();

    AppModel& model_;
    std::string path_;
    int depth_;
    FolderTreeRow* row_;
    QVBoxLayout* childLayout_;
    std::vector<LibraryFolderRow*> children_;
    std::vector<std::string> shownChildren_;
};

} // namespace mirelo
