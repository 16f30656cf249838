#pragma once
// The library window's sidebar: the brand, the four sections with the item
// count, the scanned folders as a tree, the scan card and Settings.

#include "LibrarySection.h"

#include <QWidget>

#include <map>
#include <vector>
#include <string>

class QAbstractButton;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace mirelo {

class AppModel;

class LibrarySidebar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 240;

    explicit LibrarySidebar(AppModel& model, QWidget* parent = nullptr);

    QAbstractButton* sectionRow(LibrarySection section) const { return sections_.at(section); }
    QAbstractButton* scanComputerButton() const { return scanComputer_; }
    QLabel* noFoldersLabel() const { return noFolders_; }
    QVBoxLayout* folderList() const { return folders_; }

Q_SIGNALS:
    void revealRequested(const std::string& path);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refreshSections();
    void refreshFolders();

    AppModel& model_;
    std::map<LibrarySection, QAbstractButton*> sections_;
    QVBoxLayout* folders_;
    QLabel* noFolders_;
    QAbstractButton* scanComputer_;
    std::vector<std::string> shownFolders_;
};

} // namespace mirelo
