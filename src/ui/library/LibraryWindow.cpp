#include "LibraryWindow.h"
#include "Translation.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "SettingsSheet.h"
#include "DropOverlay.h"
#include "LibraryColumn.h"
#include "LibrarySidebar.h"
#include "LibraryTexts.h"
#include "common/Palette.h"
#include "common/ToastView.h"
#include "common/ActionRegistry.h"

#include <QFile>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace mirelo {

LibraryWindow::LibraryWindow(AppModel& model, ActionRegistry& actions, QWidget* parent)
    : QMainWindow(parent), model_(model)
{
    setWindowTitle(QStringLiteral("Mirelo"));
    setObjectName(QStringLiteral("library"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setAcceptDrops(true);
    setMenuBar(actions.makeMenuBar(this));

    auto* content = new QWidget(this);
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    sidebar_ = new LibrarySidebar(model_, content);
    row->addWidget(sidebar_);
    auto* divider = new QFrame(content);
    divider->setFixedWidth(1);
    divider->setObjectName(QStringLiteral("divider"));
    auto paintDivider = [divider] {
        QColor line = divider->palette().color(QPalette::WindowText);
        line.setAlphaF(0.4f * 0.3f);
        divider->setStyleSheet(QStringLiteral("#divider { background: %1; }").arg(line.name(QColor::HexArgb)));
    };
    Palette::followLook(divider, paintDivider);
    row->addWidget(divider);
    column_ = new LibraryColumn(model_, content);
    row->addWidget(column_, 1);
    setCentralWidget(content);

    overlay_ = new DropOverlay(content);
    toast_ = new ToastView(model_, content);

    connect(sidebar_, &LibrarySidebar::revealRequested, this,
            [this](const std::string& path) { Q_EMIT revealRequested({path}); });
    connect(column_, &LibraryColumn::revealRequested, this,
            [this](const std::string& path) { Q_EMIT revealRequested({path}); });
    connect(&model_, &AppModel::trashPromptChanged, this, &LibraryWindow::followTrashPrompt);
    connect(&model_, &AppModel::errorMessageChanged, this, &LibraryWindow::followError);
    connect(sidebar_, &LibrarySidebar::settingsRequested, this, &LibraryWindow::showSettings);
}

std::vector<std::string> LibraryWindow::droppedFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return files;
}

void LibraryWindow::setDropTarget(bool target)
{
    dropTarget_ = target;
    overlay_->setGeometry(centralWidget()->rect());
    overlay_->setVisible(target);
    if (target) overlay_->raise();
}

void LibraryWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasUrls()) return;
    event->acceptProposedAction();
    setDropTarget(true);
}

void LibraryWindow::dragLeaveEvent(QDragLeaveEvent*) { setDropTarget(false); }

void LibraryWindow::dropEvent(QDropEvent* event)
{
    setDropTarget(false);
    event->acceptProposedAction();
    // One call with what the drop carried, even nothing: the model decides.
    model_.open(droppedFiles(event->mimeData()));
}

void LibraryWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (dropTarget_) overlay_->setGeometry(centralWidget()->rect());
}

void LibraryWindow::closeEvent(QCloseEvent* event)
{
    // The window is hidden, never destroyed: the application keeps running.
    Q_EMIT willClose();
    event->accept();
}

namespace {
const QString kFrameKey = QStringLiteral("windowFrames/DriftglassLibrary");
}

void LibraryWindow::saveFrame() const { AppSettings::open()->setValue(kFrameKey, saveGeometry()); }

bool LibraryWindow::restoreFrame()
{
    const QByteArray frame = AppSettings::open()->value(kFrameKey).toByteArray();
    return !frame.isEmpty() && restoreGeometry(frame);
}

void LibraryWindow::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    saveFrame();
}

void LibraryWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Q_EMIT becameActive();
}

void LibraryWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // What the model asked for while the window was away.
    followTrashPrompt();
    followError();
    if (settingsWanted_) showSettings();
}

void LibraryWindow::showSettings()
{
    settingsWanted_ = !isVisible();
    if (settings_ || settingsWanted_) return;
    auto* sheet = new SettingsSheet(this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    settings_ = sheet;
    sheet->open();
}

void LibraryWindow::followTrashPrompt()
{
    if (!model_.trashPrompt() || !isVisible() || alert_) return;
    const MediaItems& pending = model_.pendingTrash();
    int64_t bytes = 0;
    for (const MediaItem& item : pending) bytes = addBytes(bytes, item.bytes());
    // Every copy of a group of duplicates: said in its own words.
    const int emptied = model_.groupsEmptiedBy(pending);
    auto* box = emptied > 0 ? new AlertDialog(this, LibraryTexts::allCopiesTitle(),
                                              LibraryTexts::allCopiesMessage(emptied, pending.size(), bytes))
                            : new AlertDialog(this, LibraryTexts::trashTitle(pending.size()),
                                              LibraryTexts::trashMessage(bytes));
    box->addButton(translate("Mirelo", "Cancel"), AlertDialog::Role::Cancel);
    QPushButton* move = box->addButton(translate("Mirelo", "Move to Trash"), AlertDialog::Role::Destructive);
    connect(box, &QDialog::finished, this, [this, box, move] {
        alert_ = nullptr;
        QMetaObject::invokeMethod(this, &LibraryWindow::followError, Qt::QueuedConnection);
        if (box->clickedButton() == move) {
            model_.trashConfirmed();
        } else {
            model_.setPendingTrash({});
            model_.setTrashPrompt(false);
        }
    });
    alert_ = box;
    box->open();
}

void LibraryWindow::followError()
{
    // Only while this window is on screen; elsewhere the viewer or an
    // application alert shows it.
    if (!model_.errorMessage() || !isVisible() || alert_ || model_.viewing()) return;
    auto* box = new AlertDialog(this, translate("Mirelo", "Mirelo couldn’t complete that"), *model_.errorMessage());
    box->addButton(translate("Mirelo", "OK"), AlertDialog::Role::Accept);
    connect(box, &QDialog::finished, this, [this] {
        alert_ = nullptr;
        model_.setErrorMessage(std::nullopt);
        // A prompt that waited for this alert comes next.
        QMetaObject::invokeMethod(this, &LibraryWindow::followTrashPrompt, Qt::QueuedConnection);
    });
    alert_ = box;
    box->open();
}

} // namespace mirelo
