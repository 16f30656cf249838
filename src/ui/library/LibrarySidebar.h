#pragma once
// The library window's sidebar: the brand, the four sections with the item
// count, the scanned folders as a tree, the scan card and Settings.

#include "LibrarySection.h"

#include <QVariantAnimation>
#include <QWidget>

#include <map>
#include <optional>
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
    // Where the section highlight is drawn (empty when no section is current).
    QRectF highlight() const { return highlight_; }
    QVBoxLayout* folderList() const { return folders_; }

Q_SIGNALS:
    void revealRequested(const std::string& path);
    void settingsRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refreshSections();
    void refreshFolders();
    // Slides the highlight to the current section's row.
    void moveHighlight(bool animated);

    AppModel& model_;
    std::map<LibrarySection, QAbstractButton*> sections_;
    QVBoxLayout* folders_;
    QLabel* noFolders_;
    QAbstractButton* scanComputer_;
    std::vector<std::string> shownFolders_;
    QRectF highlight_;
    double highlightOpacity_ = 1;
    QVariantAnimation* slide_;
    QVariantAnimation* fade_;
    std::optional<LibrarySection> shownSection_;
};

} // namespace mirelo
