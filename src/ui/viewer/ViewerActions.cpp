#include "ViewerActions.h"
#include "Translation.h"

#include "AppModel.h"
#include "AppSettings.h"
#include "library/CollectionFiles.h"
#include "GlassButton.h"
#include "images/ImageDecoder.h"
#include "InformationPanel.h"
#include "OverlayWindow.h"
#include "ViewerPipeline.h"
#include "ViewerPopover.h"
#include "ViewerScene.h"
#include "common/AlertDialog.h"
#include "common/DesktopServices.h"
#include "viewer/FolderDestinationPicker.h"
#include "common/FileDialogPanel.h"
#include "common/FolderPromptSheet.h"
#include "common/Text.h"

#include <QFile>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QVBoxLayout>

#include <fstream>
#include <iterator>

namespace mirelo {

namespace {

QString folderName(const std::string& folder) { return QFileInfo(QString::fromStdString(folder)).fileName(); }

} // namespace

ViewerActions::ViewerActions(Viewer& viewer, QObject* parent) : QObject(parent), viewer_(viewer) {}

ViewerActions::~ViewerActions() { workers_.waitForDone(); }

AppModel* ViewerActions::model() const { return viewer_.model(); }

void ViewerActions::closePopover()
{
    if (popover_) popover_->close();
    popover_ = nullptr;
}

void ViewerActions::sheet(const QString& title, const QString& message)
{
    AlertDialog::inform(viewer_.viewerWindow(), title, message);
}

// Information

void ViewerActions::showInformation()
{
    viewer_.dropHeldKeys();
    if (!model() || !model()->current() || !viewer_.scene()) return;
    GlassButton* anchor = viewer_.scene()->infoButton();
    if (popover_ && popover_->anchor() == anchor) {
        closePopover();
        return;
    }
    closePopover();
    const MediaItem item = *model()->current();
    const FrameRef frame = item.isVideo() ? nullptr : viewer_.currentFrame();
    auto* popover = new ViewerPopover(viewer_.viewerWindow());
    InformationPanel::fill(*popover, item, frame.get(),
                           [path = std::string(item.path())] { DesktopServices::reveal({path}); });
    connect(popover, &ViewerPopover::closed, this, [this, popover] {
        if (popover_ == popover) popover_ = nullptr;
    });
    popover_ = popover;
    popover->present(anchor);
}

// Copy image

QByteArray ViewerActions::pngData(const MediaItem& item)
{
    if (item.hasFormat("PNG")) {
        // By the path's own bytes: a name that is not UTF-8 is still found.
        std::ifstream file(std::string(item.path()), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        return file ? QByteArray(bytes.data(), qsizetype(bytes.size())) : QByteArray();
    }
    std::optional<DecodedImage> decoded = ImageDecoder::decode(std::string(item.path()), kCopyLimit);
    if (!decoded || decoded->image.isNull()) return {};
    const QImage image = ViewerPipeline::rasterize(decoded->image, kCopyLimit);
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
    return bytes;
}

void ViewerActions::copyImage()
{
    if (!model() || !model()->current() || !viewer_.currentFrame() || model()->current()->isVideo() || copying_) return;
    const MediaItem item = *model()->current();
    copying_ = true;
    GlassButton* button = viewer_.scene()->copyButton();
    button->setEnabled(false);
    QPointer<ViewerActions> self(this);
    workers_.start([self, item] {
        const QByteArray png = pngData(item);
        QMetaObject::invokeMethod(qApp, [self, item, png] {
            if (!self) return;
            self->copying_ = false;
            self->viewer_.scene()->copyButton()->setEnabled(self->viewer_.currentFrame() != nullptr);
            if (png.isEmpty()) {
                self->sheet(translate("Mirelo", "Couldn’t copy image"),
                            translate("Mirelo", "This file could not be decoded as an image."));
                return;
            }
            auto* data = new QMimeData;
            data->setData(QStringLiteral("image/png"), png);
            data->setUrls({QUrl::fromLocalFile(qstring(item.path()))});
            QClipboard* clipboard = QGuiApplication::clipboard();
            clipboard->setMimeData(data);
            const QMimeData* held = clipboard->mimeData();
            if (!held || held->data(QStringLiteral("image/png")).isEmpty()) {
                self->sheet(translate("Mirelo", "Couldn’t copy image"),
                            translate("Mirelo", "The system clipboard did not accept this image."));
                return;
            }
            self->viewer_.scene()->showCopied();
            Q_EMIT self->copied();
        });
    });
}

// Add a copy

std::vector<std::string> ViewerActions::remembered(std::vector<std::string> folders, const std::string& folder)
{
    std::erase(folders, folder);
    folders.insert(folders.begin(), folder);
    if (folders.size() > size_t(kRememberedFolders)) folders.resize(kRememberedFolders);
    return folders;
}

std::vector<std::string> ViewerActions::destinations() const
{
    std::vector<std::string> roots;
    auto add = [&](const std::string& path) {
        const std::string clean = QDir::cleanPath(QString::fromStdString(path)).toStdString();
        if (!clean.empty() && std::find(roots.begin(), roots.end(), clean) == roots.end()) roots.push_back(clean);
    };
    if (model())
        for (const std::string& folder : model()->recentFolders()) add(folder);
    for (const std::string& folder : AppSettings::folders(AppSettings::kCollectionFolders)) add(folder);
    return roots;
}

void ViewerActions::showFolders()
{
    viewer_.dropHeldKeys();
    if (!model() || !model()->current() || adding_ || !viewer_.scene()) return;
    GlassButton* anchor = viewer_.scene()->folderButton();
    if (popover_ && popover_->anchor() == anchor) {
        closePopover();
        return;
    }
    closePopover();
    auto* popover = new ViewerPopover(viewer_.viewerWindow());
    popover->column()->setContentsMargins(16, 16, 16, 16);
    auto* picker = new FolderDestinationPicker(*model(), destinations(), popover);
    picker->addCopy = [this](const std::string& folder) { addCopy(folder); };
    picker->createInside = [this](const std::string& folder) {
        closePopover();
        if (model() && model()->current()) askFolderName(folder, *model()->current());
    };
    picker->chooseExisting = [this] { chooseCollection(false); };
    picker->createFolder = [this] { chooseCollection(true); };
    picker->reveal = [](const std::string& folder) { DesktopServices::reveal({folder}); };
    popover->column()->addWidget(picker);
    connect(popover, &ViewerPopover::closed, this, [this, popover] {
        if (popover_ == popover) popover_ = nullptr;
    });
    popover_ = popover;
    popover->present(anchor);
}

void ViewerActions::chooseCollection(bool create)
{
    closePopover();
    if (!viewer_.viewerWindow() || !model() || !model()->current()) return;
    const MediaItem item = *model()->current();
    OpenPanelRequest request;
    request.chooseFolders = true;
    request.multipleSelection = false;
    request.title =
        create ? translate("Mirelo", "Choose where to create your folder") : translate("Mirelo", "Add image to folder");
    request.prompt = create ? translate("Mirelo", "Choose location") : translate("Mirelo", "Add a copy");
    request.message =
        create
            ? translate("Mirelo", "Choose the parent folder. You’ll name the new folder next.")
            : translate("Mirelo", "Mirelo copies this image into the selected folder. Your original stays in place.");
    viewer_.dropHeldKeys();
    QPointer<ViewerActions> self(this);
    FileDialogPanel([window = QPointer<QWidget>(viewer_.viewerWindow())] {
        return window.data();
    }).choose(request, [self, create, item](std::vector<std::string> chosen) {
        if (!self || chosen.empty()) return;
        if (create)
            self->askFolderName(chosen.front(), item);
        else
            self->addCopy(chosen.front(), item);
    });
}

void ViewerActions::askFolderName(const std::string& parent, const MediaItem& item)
{
    if (!viewer_.viewerWindow()) return;
    FolderPromptRequest request;
    request.message = translate("Mirelo", "Create a folder");
    request.informativeText = translate("Mirelo", "Create a folder in %1 and add a copy of %2.")
                                  .arg(folderName(parent), qstring(item.name()));
    request.name = translate("Mirelo", "New collection");
    request.confirmButton = translate("Mirelo", "Create & add");
    QPointer<ViewerActions> self(this);
    FolderPromptSheet([window = QPointer<QWidget>(viewer_.viewerWindow())] {
        return window.data();
    }).ask(request, [self, parent, item](std::optional<QString> name) {
        if (!self || !name) return;
        try {
            const std::string folder = CollectionFiles::createFolder(QFile::encodeName(*name).toStdString(), parent);
            self->addCopy(folder, item);
        } catch (const std::exception& error) {
            self->sheet(translate("Mirelo", "Couldn’t create folder"), QString::fromUtf8(error.what()));
        }
    });
}

void ViewerActions::addCopy(const std::string& folder, std::optional<MediaItem> item)
{
    if (!item && model() && model()->current()) item = model()->current();
    if (!item || adding_) return;
    closePopover();
    adding_ = true;
    viewer_.scene()->folderButton()->setEnabled(false);
    QPointer<ViewerActions> self(this);
    workers_.start([self, folder, source = std::string(item->path())] {
        std::optional<std::string> copy;
        QString failure;
        try {
            copy = CollectionFiles::addCopy(source, folder);
        } catch (const std::exception& error) {
            failure = QString::fromUtf8(error.what());
        }
        QMetaObject::invokeMethod(qApp, [self, folder, copy, failure] {
            if (!self) return;
            self->adding_ = false;
            self->viewer_.scene()->folderButton()->setEnabled(true);
            if (!copy) {
                self->sheet(translate("Mirelo", "Couldn’t add image"), failure);
                return;
            }
            if (self->model()) self->model()->recordCopy(*copy, folder);
            AppSettings::setFolders(AppSettings::kCollectionFolders,
                                    remembered(AppSettings::folders(AppSettings::kCollectionFolders), folder));
            self->viewer_.scene()->toast(translate("Mirelo", "Added a copy to %1").arg(folderName(folder)));
        });
    });
}

} // namespace mirelo
