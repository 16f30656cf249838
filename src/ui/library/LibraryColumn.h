#pragma once
// Everything right of the sidebar: the header, the scan progress, and one
// of three bodies: opening the saved library, the welcome, or the library
// itself (filters, storage breakdown, the grid with its loading and empty
// states, and the footer).

#include <QWidget>

class QStackedWidget;

namespace mirelo {

class AppModel;
class EmptyStateView;
class FilterBar;
class LibraryFooter;
class LibraryHeader;
class LoadingView;
class MediaGridView;
class ScanProgressBar;
class StorageBreakdownView;
class WelcomeView;

class LibraryColumn : public QWidget {
    Q_OBJECT
public:
    enum class Body { restoring, welcome, library };

    explicit LibraryColumn(AppModel& model, QWidget* parent = nullptr);

    Body body() const;
    LibraryHeader* header() const { return header_; }
    ScanProgressBar* scanProgress() const { return scanProgress_; }
    FilterBar* filterBar() const { return filters_; }
    StorageBreakdownView* storage() const { return storage_; }
    MediaGridView* grid() const { return grid_; }
    LoadingView* loadingView() const { return loading_; }
    EmptyStateView* emptyState() const { return empty_; }
    LibraryFooter* footer() const { return footer_; }

Q_SIGNALS:
    void revealRequested(const std::string& path);

private:
    void refreshBody();
    void refreshGrid();

    AppModel& model_;
    LibraryHeader* header_;
    ScanProgressBar* scanProgress_;
    QStackedWidget* bodies_;
    FilterBar* filters_;
    StorageBreakdownView* storage_;
    MediaGridView* grid_;
    LoadingView* loading_;
    EmptyStateView* empty_;
    LibraryFooter* footer_;
    QWidget* restoringPage_;
    WelcomeView* welcome_;
    QWidget* libraryPage_;
};

} // namespace mirelo
