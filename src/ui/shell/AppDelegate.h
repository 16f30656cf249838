#pragma once
// The application itself: it creates the actions and the windows' shell at
// launch, decides whether the library window opens, takes files handed to
// the application, carries out the commands that concern windows, and makes
// sure the library is written before the application quits.

#include "common/ActionRegistry.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace mirelo {

class AppModel;
class FileDialogPanel;
class FolderPromptSheet;
class WindowShell;

class AppDelegate : public QObject {
    Q_OBJECT
public:
    explicit AppDelegate(AppModel& model, QObject* parent = nullptr);
    ~AppDelegate() override;

    // Menus, model and windows connected.
    void willFinishLaunching();
    // The library window for a plain launch without handed-over files.
    void didFinishLaunching(bool defaultLaunch);
    // At launch, before the windows are made: the first of the files handed
    // to the application starts decoding for the viewer.
    static void startFirstPicture(const std::vector<std::string>& paths);
    // Files or folders handed to the application: absolute paths, as the
    // file system's bytes.
    void openFiles(const std::vector<std::string>& paths);
    // A second launch without files, or the desktop's activation.
    void reopen();
    // Writes the library; false when the user keeps the application open
    // after the save failed.
    bool shouldTerminate();

    ActionRegistry& actions() { return actions_; }
    // After willFinishLaunching.
    WindowShell& shell() const { return *shell_; }
    // At quit: waits for the pictures being prepared for the windows.
    void finishWork();
    bool receivedFileOpen() const { return receivedFileOpen_; }

private:
    void windowCommand(ActionRegistry::Command command);
    void closeWindow();

    AppModel& model_;
    ActionRegistry actions_;
    std::unique_ptr<WindowShell> shell_;
    std::unique_ptr<FileDialogPanel> openPanel_;
    std::unique_ptr<FolderPromptSheet> folderPrompt_;
    bool receivedFileOpen_ = false;
};

} // namespace mirelo
