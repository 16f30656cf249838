#pragma once
// The library window: the sidebar beside the library column, the menu bar,
// the drop overlay and the toast over them, and the alerts the model asks
// for (moving to the Trash, errors). It holds no state of its own beyond
// whether a drag hovers over it.

#include <QMainWindow>
#include <QPointer>

#include <string>
#include <vector>

#include "SettingsSheet.h"
#include "common/AlertDialog.h"

class QMimeData;

namespace mirelo {

class ActionRegistry;
class AppModel;
class DropOverlay;
class LibraryColumn;
class LibrarySidebar;
class ToastView;

class LibraryWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 860, kMinimumHeight = 590;

    LibraryWindow(AppModel& model, ActionRegistry& actions, QWidget* parent = nullptr);

    LibrarySidebar* sidebar() const { return sidebar_; }
    LibraryColumn* column() const { return column_; }
    ToastView* toast() const { return toast_; }
    bool dropTarget() const { return dropTarget_; }
    // The Trash alert or the error alert while one is shown.
    AlertDialog* alert() const { return alert_; }
    // The local files a drag carries (file URLs only).
    static std::vector<std::string> droppedFiles(const QMimeData* data);
    // The window's place and size, kept between runs.
    void saveFrame() const;
    // False when none was saved (or the screens changed so it is off them).
    bool restoreFrame();
    // Settings as a sheet on this window, once it is on screen.
    void showSettings();
    SettingsSheet* settingsSheet() const { return settings_; }

Q_SIGNALS:
    void willClose();
    void becameActive();
    void revealRequested(const std::vector<std::string>& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setDropTarget(bool target);
    void followTrashPrompt();
    void followError();

    AppModel& model_;
    LibrarySidebar* sidebar_;
    LibraryColumn* column_;
    DropOverlay* overlay_;
    ToastView* toast_;
    QPointer<AlertDialog> alert_;
    QPointer<SettingsSheet> settings_;
    bool dropTarget_ = false;
    bool settingsWanted_ = false; // asked for while the window was away
};

} // namespace mirelo
