#include "DestinationFolderRow.h"
#include "Translation.h"

#include "AppModel.h"
#include "FolderDestinationPicker.h"
#include "common/FolderTreeRow.h"
#include "common/Palette.h"

#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>

namespace mirelo {

DestinationFolderRow::DestinationFolderRow(AppModel& model, FolderDestinationPicker& picker,
                                           std::shared_ptr<std::set<std::string>> expanded, std::string path, int depth,
                                           QWidget* parent)
    : QWidget(parent), model_(model), picker_(picker), expanded_(std::move(expanded)), path_(std::move(path)),
      depth_(depth)
{
    row_ = new FolderTreeRow(
        path_, depth_,
        [this](QMenu& menu) {
            menu.addAction(translate("Mirelo", "New Folder Inside…"), this, [this] {
                if (picker_.createInside) picker_.createInside(path_);
            });
            menu.addAction(translate("Mirelo", "Show in File Manager"), this, [this] {
                if (picker_.reveal) picker_.reveal(path_);
            });
        },
        this);
    row_->setActionHint(translate("Mirelo", "Add a copy of the current media to this folder"));
    connect(row_, &FolderTreeRow::toggleRequested, this, &DestinationFolderRow::toggle);
    connect(row_, &FolderTreeRow::chooseRequested, this, [this] {
        if (picker_.addCopy) picker_.addCopy(path_);
    });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(row_);
    note_ = new QLabel(this);
    note_->setFont(Palette::font(11));
    note_->setForegroundRole(QPalette::PlaceholderText);
    note_->setContentsMargins(std::min(depth_ + 1, FolderTreeRow::kMostIndentedDepth) * FolderTreeRow::kIndentStep + 29,
                              5, 0, 5);
    note_->hide();
    column->addWidget(note_);
    childLayout_ = new QVBoxLayout;
    childLayout_->setSpacing(0);
    column->addLayout(childLayout_);
    connect(&model_, &AppModel::childFoldersChanged, this, &DestinationFolderRow::refresh);
    refresh();
}

void DestinationFolderRow::toggle()
{
    if (expanded_->erase(path_) == 0) {
        expanded_->insert(path_);
        model_.loadChildren(path_);
    }
    refresh();
}

QString DestinationFolderRow::note() const
{
    return note_->isVisibleTo(const_cast<DestinationFolderRow*>(this)) ? note_->text() : QString();
}

void DestinationFolderRow::refresh()
{
    const bool expanded = expanded_->count(path_) > 0;
    row_->setExpanded(expanded);
    const auto found = model_.childFolders().find(path_);
    const bool listed = found != model_.childFolders().end();
    std::vector<std::string> wanted;
    if (expanded && listed) wanted = found->second;
    note_->setVisible(expanded && (!listed || wanted.empty()));
    note_->setText(listed ? translate("Mirelo", "No subfolders") : translate("Mirelo", "Loading folders…"));
    if (wanted == shownChildren_) return;
    for (DestinationFolderRow* child : children_) child->deleteLater();
    children_.clear();
    for (const std::string& child : wanted) {
        auto* row = new DestinationFolderRow(model_, picker_, expanded_, child, depth_ + 1, this);
        childLayout_->addWidget(row);
        children_.push_back(row);
    }
    shownChildren_ = std::move(wanted);
}

} // namespace mirelo
