#pragma once
// Every command of the application as one named QAction, with its keys and
// the rule that enables it. Both windows' menu bars and the buttons use these
// actions; nothing else decides when a command is allowed.
//
// Commands about the model run here. Commands about windows (showing the
// library or Settings, closing, minimising, the viewer's zoom, information
// and copy, revealing a file, the about box, quitting) are passed on as
// `windowCommand`, to the windows that carry them out.

#include <QObject>

#include <map>

class QAction;
class QMenuBar;
class QWidget;

namespace mirelo {

class AppModel;

class ActionRegistry : public QObject {
    Q_OBJECT
public:
    enum class Command {
        showLibrary,
        openImages,
        scanFolders,
        closeWindow,
        quit,
        undo,
        cut,
        copy,
        paste,
        selectAll,
        settings,
        copyImage,
        zoomIn,
        zoomOut,
        fitToWindow,
        actualSize,
        information,
        reveal,
        trash,
        minimize,
        zoom,
        about,
    };

    explicit ActionRegistry(AppModel& model, QObject* parent = nullptr);

    QAction* action(Command command) const;
    QList<QAction*> actions() const;
    // File, Edit, Image, Window and Help, in the desktop's order.
    QMenuBar* makeMenuBar(QWidget* parent);
    // Reads every enabling rule and title again; menus do it as they open.
    void refresh();

Q_SIGNALS:
    void windowCommand(mirelo::ActionRegistry::Command command);

private:
    QAction* add(Command command, const QString& title);
    void run(Command command);
    bool allowed(Command command) const;

    AppModel& model_;
    std::map<Command, QAction*> actions_;
};

} // namespace mirelo
