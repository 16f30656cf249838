#include "LibraryFolderRow.h"
#include "Translation.h"

#include "AppModel.h"
#include "common/FolderTreeRow.h"

#include <QMenu>
#include <QVBoxLayout>

namespace mirelo {

LibraryFolderRow::LibraryFolderRow(AppModel& model, std::string path, int depth, QWidget* parent)
    : QWidget(parent), model_(model), path_(std::move(path)), depth_(depth)
{
    row_ = new FolderTreeRow(
        path_, depth_,
        [this](QMenu& menu) {
            const bool idle = !model_.busy() && !model_.scanning();
            menu.addAction(translate("Mirelo", "New Folder Inside…"), this, [this] { model_.editFolder(path_, false); })
                ->setEnabled(idle);
            menu.addAction(translate("Mirelo", "Rename Folder…"), this, [this] { model_.editFolder(path_, true); })
                ->setEnabled(idle);
            menu.addSeparator();
            menu.addAction(translate("Mirelo", "Refresh Scan"), this, [this] { model_.scan({path_}, true); })
                ->setEnabled(idle);
            menu.addAction(translate("Mirelo", "Show in File Manager"), this,
                           [this] { Q_EMIT revealRequested(path_); });
        },
        this);
    row_->setActionHint(translate("Mirelo", "Open this folder in your library"));
    connect(row_, &FolderTreeRow::toggleRequested, this, [this] { model_.toggleFolder(path_); });
    connect(row_, &FolderTreeRow::chooseRequested, this, [this] { model_.selectFolder(path_); });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(row_);
    childLayout_ = new QVBoxLayout;
    childLayout_->setSpacing(0);
    column->addLayout(childLayout_);

    for (auto signal :
         {&AppModel::expandedFoldersChanged, &AppModel::selectedFolderChanged, &AppModel::childFoldersChanged})
        connect(&model_, signal, this, &LibraryFolderRow::refresh);
    refresh();
}

void LibraryFolderRow::refresh()
{
    const bool expanded = model_.expandedFolders().count(path_) > 0;
    row_->setExpanded(expanded);
    row_->setSelected(model_.selectedFolder() == path_);

    // The children while expanded, once the model has listed them.
    std::vector<std::string> wanted;
    if (expanded)
        if (auto found = model_.childFolders().find(path_); found != model_.childFolders().end())
            wanted = found->second;
    if (wanted == shownChildren_) return;
    for (LibraryFolderRow* child : children_) child->deleteLater();
    children_.clear();
    for (const std::string& child : wanted) {
        auto* row = new LibraryFolderRow(model_, child, depth_ + 1, this);
        connect(row, &LibraryFolderRow::revealRequested, this, &LibraryFolderRow::revealRequested);
        childLayout_->addWidget(row);
        children_.push_back(row);
    }
    shownChildren_ = std::move(wanted);
}

} // namespace mirelo
