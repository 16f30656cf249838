#include "ActionRegistry.h"
#include "Translation.h"

#include "AppModel.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace mirelo {

namespace {

using Command = ActionRegistry::Command;

// The focused widget when it edits text: Edit commands and keys are its own.
QWidget* focusedTextField()
{
    QWidget* focus = QApplication::focusWidget();
    if (auto* line = qobject_cast<QLineEdit*>(focus); line && !line->isReadOnly()) return line;
    if (auto* text = qobject_cast<QTextEdit*>(focus); text && !text->isReadOnly()) return text;
    if (auto* plain = qobject_cast<QPlainTextEdit*>(focus); plain && !plain->isReadOnly()) return plain;
    return nullptr;
}

bool canUndo(QWidget* field)
{
    if (auto* line = qobject_cast<QLineEdit*>(field)) return line->isUndoAvailable();
    if (auto* text = qobject_cast<QTextEdit*>(field)) return text->document()->isUndoAvailable();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) return plain->document()->isUndoAvailable();
    return false;
}

// Sends an Edit command to a text field; false when it takes no such command.
bool editText(QWidget* field, Command command)
{
    auto apply = [&](auto* widget) {
        switch (command) {
        case Command::undo: widget->undo(); return true;
        case Command::cut: widget->cut(); return true;
        case Command::copy: widget->copy(); return true;
        case Command::paste: widget->paste(); return true;
        case Command::selectAll: widget->selectAll(); return true;
        default: return false;
        }
    };
    if (auto* line = qobject_cast<QLineEdit*>(field)) return apply(line);
    if (auto* text = qobject_cast<QTextEdit*>(field)) return apply(text);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field)) return apply(plain);
    return false;
}

} // namespace

ActionRegistry::ActionRegistry(AppModel& model, QObject* parent) : QObject(parent), model_(model)
{
    const auto keys = [](std::initializer_list<QKeySequence> sequences) { return QList<QKeySequence>(sequences); };
    add(Command::showLibrary, translate("Mirelo", "Show Library"))
        ->setShortcut(QKeySequence(QStringLiteral("Shift+Ctrl+L")));
    add(Command::openImages, translate("Mirelo", "Open Images…"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    add(Command::scanFolders, translate("Mirelo", "Scan Folders…"))
        ->setShortcut(QKeySequence(QStringLiteral("Shift+Ctrl+O")));
    add(Command::closeWindow, translate("Mirelo", "Close Window"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    add(Command::quit, translate("Mirelo", "Quit Mirelo"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    add(Command::undo, translate("Mirelo", "Undo Move to Trash"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    add(Command::cut, translate("Mirelo", "Cut"))->setShortcut(QKeySequence::Cut);
    add(Command::copy, translate("Mirelo", "Copy"))->setShortcut(QKeySequence::Copy);
    add(Command::paste, translate("Mirelo", "Paste"))->setShortcut(QKeySequence::Paste);
    add(Command::selectAll, translate("Mirelo", "Select All"))->setShortcut(QKeySequence::SelectAll);
    add(Command::settings, translate("Mirelo", "Settings…"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+,")));
    add(Command::copyImage, translate("Mirelo", "Copy Image"))
        ->setShortcut(QKeySequence(QStringLiteral("Shift+Ctrl+C")));
    add(Command::zoomIn, translate("Mirelo", "Zoom In"))
        ->setShortcuts(keys({QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))}));
    add(Command::zoomOut, translate("Mirelo", "Zoom Out"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    add(Command::fitToWindow, translate("Mirelo", "Fit to Window"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    add(Command::actualSize, translate("Mirelo", "Actual Size"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+1")));
    add(Command::information, translate("Mirelo", "Show Information"))
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    add(Command::reveal, translate("Mirelo", "Show in File Manager"))
        ->setShortcut(QKeySequence(QStringLiteral("Shift+Ctrl+R")));
    add(Command::trash, translate("Mirelo", "Move to Trash"))->setShortcut(QKeySequence(Qt::Key_Delete));
    add(Command::minimize, translate("Mirelo", "Minimize"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+M")));
    add(Command::zoom, translate("Mirelo", "Zoom"));
    add(Command::about, translate("Mirelo", "About Mirelo"));
    action(Command::quit)->setMenuRole(QAction::QuitRole);
    action(Command::about)->setMenuRole(QAction::AboutRole);
    action(Command::settings)->setMenuRole(QAction::PreferencesRole);

    for (auto signal : {&AppModel::scanningChanged, &AppModel::busyChanged, &AppModel::loadingContentChanged,
                        &AppModel::selectionChanged, &AppModel::undoRecordsChanged, &AppModel::currentChanged})
        connect(&model_, signal, this, &ActionRegistry::refresh);
    connect(qApp, &QApplication::focusChanged, this, &ActionRegistry::refresh);
    refresh();
}

QAction* ActionRegistry::add(Command command, const QString& title)
{
    auto* action = new QAction(title, this);
    // The keys work in whichever of the application's windows is active.
    action->setShortcutContext(Qt::ApplicationShortcut);
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
    actions_[command] = action;
    return action;
}

QAction* ActionRegistry::action(Command command) const { return actions_.at(command); }

QList<QAction*> ActionRegistry::actions() const
{
    QList<QAction*> all;
    for (const auto& [command, action] : actions_) all << action;
    return all;
}

QMenuBar* ActionRegistry::makeMenuBar(QWidget* parent)
{
    auto* bar = new QMenuBar(parent);
    auto menu = [&](const QString& title, std::initializer_list<std::optional<Command>> commands) {
        QMenu* menu = bar->addMenu(title);
        connect(menu, &QMenu::aboutToShow, this, &ActionRegistry::refresh);
        for (const std::optional<Command>& command : commands) {
            if (command)
                menu->addAction(action(*command));
            else
                menu->addSeparator();
        }
    };
    const std::optional<Command> separator;
    menu(translate("Mirelo", "File"), {Command::showLibrary, Command::openImages, Command::scanFolders, separator,
                                       Command::closeWindow, separator, Command::quit});
    menu(translate("Mirelo", "Edit"), {Command::undo, separator, Command::cut, Command::copy, Command::paste,
                                       Command::selectAll, separator, Command::settings});
    menu(translate("Mirelo", "Image"),
         {Command::copyImage, separator, Command::zoomIn, Command::zoomOut, Command::fitToWindow, Command::actualSize,
          separator, Command::information, Command::reveal, Command::trash});
    menu(translate("Mirelo", "Window"), {Command::minimize, Command::zoom});
    menu(translate("Mirelo", "Help"), {Command::about});
    return bar;
}

bool ActionRegistry::allowed(Command command) const
{
    const std::optional<MediaItem>& current = model_.current();
    switch (command) {
    case Command::closeWindow: {
        const QWidget* window = QApplication::activeWindow();
        return window && window->isVisible() && !QApplication::activeModalWidget();
    }
    case Command::undo:
        if (QWidget* field = focusedTextField()) return canUndo(field);
        return !model_.undoRecords().empty() && !model_.busy();
    case Command::trash:
        return !model_.scanning() && !model_.busy() &&
               (current || (!model_.loadingContent() && !model_.selection().empty()));
    case Command::zoomIn:
    case Command::zoomOut:
    case Command::fitToWindow:
    case Command::actualSize:
    case Command::copyImage: return current && !current->isVideo();
    case Command::information:
    case Command::reveal: return current.has_value();
    default: return true;
    }
}

void ActionRegistry::refresh()
{
    for (auto& [command, action] : actions_) action->setEnabled(allowed(command));
    action(Command::undo)
        ->setText(focusedTextField() ? translate("Mirelo", "Undo") : translate("Mirelo", "Undo Move to Trash"));
}

void ActionRegistry::run(Command command)
{
    // A key may reach an action whose state changed since the last refresh.
    if (!allowed(command)) return;
    switch (command) {
    case Command::openImages: model_.chooseFiles(); return;
    case Command::scanFolders:
        Q_EMIT windowCommand(Command::showLibrary);
        model_.chooseFolders();
        return;
    case Command::undo:
    case Command::cut:
    case Command::copy:
    case Command::paste:
    case Command::selectAll:
        if (QWidget* field = focusedTextField(); field && editText(field, command)) return;
        if (command == Command::undo) {
            model_.undoTrash();
            return;
        }
        break; // the window decides what its selection does
    case Command::trash:
        if (model_.current())
            model_.requestTrash(MediaItems{*model_.current()});
        else
            model_.requestTrash(model_.selectedItems());
        return;
    default: break;
    }
    Q_EMIT windowCommand(command);
}

} // namespace mirelo
