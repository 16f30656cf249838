#pragma once
// The viewer's actions on the picture on display: the information panel,
// copying the picture to the clipboard, and adding a copy of it to a
// remembered, chosen or new folder. One panel is open at a time; copying
// and adding run one at a time, their file work on a worker thread.

#include "ViewerFrame.h"
#include "ViewerPopover.h"
#include "library/MediaItem.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <optional>
#include <string>
#include <vector>

namespace mirelo {

class AppModel;
class OverlayWindow;
class ViewerScene;

class ViewerActions : public QObject {
    Q_OBJECT
public:
    static constexpr int kRememberedFolders = 6, kCopyLimit = 8192;

    // What the actions need of the viewer they act in, and no more.
    class Viewer {
    public:
        virtual AppModel* model() const = 0;
        virtual OverlayWindow* viewerWindow() const = 0;
        virtual ViewerScene* scene() const = 0;
        // The picture on display, once its frame is ready.
        virtual const FrameRef& currentFrame() const = 0;
        // Held zoom keys stop: a panel takes the keys.
        virtual void dropHeldKeys() = 0;

    protected:
        ~Viewer() = default;
    };

    ViewerActions(Viewer& viewer, QObject* parent);
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

    Viewer& viewer_;
    QPointer<ViewerPopover> popover_;
    bool copying_ = false, adding_ = false;
    QThreadPool workers_;
};

} // namespace mirelo
