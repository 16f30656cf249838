#pragma once
// One folder in the destination picker: a click adds the copy there, the
// chevron opens it ("Loading folders…" until the model has listed it, then
// its children or "No subfolders"), and its options create a folder inside
// or show it in the file manager.

#include <QWidget>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class QLabel;
class QVBoxLayout;

namespace mirelo {

class AppModel;
class FolderDestinationPicker;
class FolderTreeRow;

class DestinationFolderRow : public QWidget {
    Q_OBJECT
public:
    DestinationFolderRow(AppModel& model, FolderDestinationPicker& picker,
                         std::shared_ptr<std::set<std::string>> expanded, std::string path, int depth,
                         QWidget* parent = nullptr);

    FolderTreeRow* row() const { return row_; }
    void toggle();
    // What shows below the row while it is open: "Loading folders…", "No subfolders" or nothing.
    QString note() const;
    const std::vector<DestinationFolderRow*>& children() const { return children_; }

private:
    void refresh();

    AppModel& model_;
    FolderDestinationPicker& picker_;
    std::shared_ptr<std::set<std::string>> expanded_;
    std::string path_;
    int depth_;
    FolderTreeRow* row_;
    QLabel* note_;
    QVBoxLayout* childLayout_;
    std::vector<DestinationFolderRow*> children_;
    std::vector<std::string> shownChildren_;
};

} // namespace mirelo
