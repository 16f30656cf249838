#include "LibraryColumn.h"
#include "Translation.h"

#include "AppModel.h"
#include "EmptyStateView.h"
#include "DuplicatesBar.h"
#include "FilterBar.h"
#include "LibraryFooter.h"
#include "LibraryHeader.h"
#include "MediaGridView.h"
#include "ScanProgressBar.h"
#include "StorageBreakdownView.h"
#include "ThumbnailStore.h"
#include "WelcomeView.h"
#include "common/DesktopLook.h"
#include "common/LoadingView.h"
#include "common/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStackedLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace mirelo {

LibraryColumn::LibraryColumn(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    header_ = new LibraryHeader(model_, this);
    column->addWidget(header_);
    scanProgress_ = new ScanProgressBar(model_, this);
    column->addWidget(scanProgress_);
    bodies_ = new QStackedWidget(this);
    column->addWidget(bodies_, 1);

    // Opening the saved library.
    restoringPage_ = new QWidget(bodies_);
    auto* restoring = new QVBoxLayout(restoringPage_);
    restoring->addStretch(1);
    auto* spinner = new QProgressBar(restoringPage_);
    spinner->setRange(0, 0);
    spinner->setTextVisible(false);
    spinner->setFixedSize(120, 6);
    restoring->addWidget(spinner, 0, Qt::AlignHCenter);
    restoring->addSpacing(10);
    auto* opening = new QLabel(translate("Mirelo", "Opening your saved library…"), restoringPage_);
    opening->setFont(Palette::font(13));
    opening->setForegroundRole(QPalette::PlaceholderText);
    restoring->addWidget(opening, 0, Qt::AlignHCenter);
    restoring->addStretch(1);
    bodies_->addWidget(restoringPage_);

    welcome_ = new WelcomeView(model_, bodies_);
    bodies_->addWidget(welcome_);

    // The library itself.
    libraryPage_ = new QWidget(bodies_);
    auto* body = new QVBoxLayout(libraryPage_);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    filters_ = new FilterBar(model_, libraryPage_);
    body->addWidget(filters_);
    body->addWidget(new DuplicatesBar(model_, libraryPage_));
    storage_ = new StorageBreakdownView(libraryPage_);
    auto* storageRow = new QHBoxLayout;
    storageRow->setContentsMargins(32, 0, 32, 14);
    storageRow->addWidget(storage_);
    body->addLayout(storageRow);
    auto* area = new QWidget(libraryPage_);
    auto* layers = new QStackedLayout(area);
    layers->setStackingMode(QStackedLayout::StackAll);
    grid_ = new MediaGridView(model_, ThumbnailStore::shared(), area);
    loading_ = new LoadingView(area);
    loading_->setReduceMotion(DesktopLook::shared().reduceMotion());
    connect(&DesktopLook::shared(), &DesktopLook::reduceMotionChanged, loading_,
            [this] { loading_->setReduceMotion(DesktopLook::shared().reduceMotion()); });
    empty_ = new EmptyStateView(model_, area);
    layers->addWidget(grid_);
    layers->addWidget(loading_);
    layers->addWidget(empty_);
    body->addWidget(area, 1);
    footer_ = new LibraryFooter(model_, libraryPage_);
    body->addWidget(footer_);
    bodies_->addWidget(libraryPage_);
    connect(grid_, &MediaGridView::revealRequested, this, &LibraryColumn::revealRequested);

    for (auto signal : {&AppModel::restoringChanged, &AppModel::itemsChanged, &AppModel::scanningChanged,
                        &AppModel::selectedFolderChanged})
        connect(&model_, signal, this, &LibraryColumn::refreshBody);
    for (auto signal : {&AppModel::loadingContentChanged, &AppModel::visibleChanged, &AppModel::sectionChanged,
                        &AppModel::storageChanged, &AppModel::contentRevisionChanged})
        connect(&model_, signal, this, &LibraryColumn::refreshGrid);
    refreshBody();
    refreshGrid();
}

LibraryColumn::Body LibraryColumn::body() const
{
    if (bodies_->currentWidget() == restoringPage_) return Body::restoring;
    return bodies_->currentWidget() == welcome_ ? Body::welcome : Body::library;
}

void LibraryColumn::refreshBody()
{
    QWidget* page = libraryPage_;
    if (model_.restoring())
        page = restoringPage_;
    else if (model_.items().isEmpty() && !model_.scanning() && !model_.selectedFolder())
        page = welcome_;
    bodies_->setCurrentWidget(page);
}

void LibraryColumn::refreshGrid()
{
    const bool replacing = model_.replacingContent();
    const bool nothing = model_.visible().isEmpty();
    // The grid stays laid out underneath; it is only hidden and deaf.
    grid_->setVisible(!replacing && !nothing);
    grid_->viewport()->setAttribute(Qt::WA_TransparentForMouseEvents, model_.loadingContent());
    loading_->setVisible(replacing);
    empty_->setVisible(!replacing && nothing);
    if (loading_->isVisible()) loading_->raise();
    if (empty_->isVisible()) empty_->raise();
    // Large files: the space they take; duplicates: what letting go of the extra copies frees.
    const bool large = model_.section() == LibrarySection::large;
    const bool duplicates = model_.section() == LibrarySection::duplicates && !nothing;
    storage_->setVisible(large || duplicates);
    storage_->setTitle(duplicates ? translate("Mirelo", "Space the extra copies take")
                                  : translate("Mirelo", "Space in these large files"));
    if (large || duplicates) storage_->setSummary(model_.storage(), model_.loadingContent());
}

} // namespace mirelo
