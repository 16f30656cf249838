#pragma once
// The viewer's actions on the picture on display: the information panel,
// copying the picture to the clipboard, and adding a copy of it to a
// remembered, chosen or new folder. One panel is open at a time; copying
// and adding run one at a time, their file work on a worker thread.

#include "library/MediaItem.h"
#include "ViewerPopover.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <optional>
#include <string>
#include <vector>

namespace mirelo {

class AppModel;
class ViewerCoordinator;

class ViewerActions : public QObject {
    Q_OBJECT
public:
    static constexpr int kRememberedFolders = 6, kCopyLimit = 8192;

    explicit ViewerActions(ViewerCoordinator& coordinator);
    ~ViewerActions() override;

    void showInformation();
    void copyImage();
    void showFolders();
    void chooseCollection(bool create);
    void askFolderName(const std::string& parent, const MediaItem& item);
    void addCopy(const std::string& folder, std::optional<MediaItem> item = std::nullopt);
    void closePopover();
    ViewerPopover* popover() const { return popover_; }
    bool copying() const { return copying_; }
    bool adding() const { return adding_; }
    void finishWork() { workers_.waitForDone(); }

    // The PNG put on the clipboard: a PNG file's own bytes, anything else
    // decoded (at most 8,192 pixels across) and encoded; empty on failure.
    static QByteArray pngData(const MediaItem& item);
    // The remembered destinations with `folder` put first.
    static std::vector<std::string> remembered(std::vector<std::string> folders, const std::string& folder);
    // The picker's destinations: recent folders, then remembered ones, each once.
    std::vector<std::string> destinations() const;

Q_SIGNALS:
    void copied();

private:
    AppModel* model() const;
    void sheet(const QString& title, const QString& text);

    ViewerCoordinator& coordinator_;
    QPointer<ViewerPopover> popover_;
    bool copying_ = false, adding_ = false;
    QThreadPool workers_;
};

} // namespace mirelo
