#include "ViewerCoordinator.h"

#include "AppModel.h"
#include "ImageStage.h"
#include "OverlayWindow.h"
#include "library/CacheKey.h"
#include "images/ImageDecoder.h"
#include "ThumbnailStore.h"
#include "ViewerPipeline.h"
#include "ViewerScene.h"
#include "common/AlertDialog.h"
#include "Filmstrip.h"
#include "GlassButton.h"
#include "ViewerActions.h"
#include "ViewerVideo.h"
#include "ViewerPopover.h"
#include "common/ActionRegistry.h"
#include "Translation.h"
#include "common/Text.h"

#include <QApplication>
#include <cmath>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QPointer>
#include <QScreen>
#include <QThreadPool>

namespace mirelo {

ViewerCoordinator::ViewerCoordinator() : viewerActions_(new ViewerActions(*this, this))
{
    loadingWork_.setSingleShot(true);
    loadingWork_.setInterval(kSpinnerDelayMs);
    QObject::connect(&loadingWork_, &QTimer::timeout, this, [this] {
        if (scene_) scene_->setSpinning(true);
    });
    chromeWork_.setSingleShot(true);
    chromeWork_.setInterval(kChromeHideMs);
    QObject::connect(&chromeWork_, &QTimer::timeout, this, [this] {
        if (scene_) scene_->setChrome(false);
    });
}

ViewerCoordinator::~ViewerCoordinator()
{
    previewWorkers_.waitForDone();
    viewerActions_->finishWork();
    if (model_) model_->setViewer(nullptr);
    delete window_;
}

OverlayWindow* ViewerCoordinator::viewerWindow() const { return window_; }

QMediaPlayer* ViewerCoordinator::player() const { return video_ ? video_->player() : nullptr; }

bool ViewerCoordinator::videoFullScreen() const { return video_ && video_->fullScreen(); }

void ViewerCoordinator::setHome(const QRect& frame, QScreen* screen)
{
    normalFrame_ = frame;
    homeScreen_ = screen;
}

void ViewerCoordinator::connect(AppModel& model, ActionRegistry& actions)
{
    model_ = &model;
    actions_ = &actions;
    // Closing the viewer is the model's business: it clears its current item.
    QObject::connect(this, &ViewerCoordinator::closeRequested, &model, [&model] { model.setCurrent(std::nullopt); });
    model.setViewer(this);
    QObject::connect(&actions, &ActionRegistry::windowCommand, this, &ViewerCoordinator::perform);
    QObject::connect(&model, &AppModel::toastChanged, this, [this] {
        if (presented_ && scene_ && model_->toast()) scene_->toast(*model_->toast(), !model_->undoRecords().empty());
    });
    if (model.current()) present(*model.current());
}

void ViewerCoordinator::finishWork()
{
    previewWorkers_.waitForDone();
    viewerActions_->finishWork();
    if (scene_) scene_->stage()->finishWork();
}

void ViewerCoordinator::copyImage() { viewerActions_->copyImage(); }

// The menus' commands for the viewer: zoom and the information panel.
void ViewerCoordinator::perform(ActionRegistry::Command command)
{
    using Command = ActionRegistry::Command;
    if (!presented_ || !scene_) return;
    switch (command) {
    case Command::zoomIn: scene_->stage()->perform({ZoomAction::increase}); break;
    case Command::zoomOut: scene_->stage()->perform({ZoomAction::decrease}); break;
    case Command::fitToWindow: scene_->stage()->perform({ZoomAction::fit}); break;
    case Command::actualSize: scene_->stage()->perform({ZoomAction::actual}); break;
    case Command::information: showInformation(); break;
    default: break;
    }
}

void ViewerCoordinator::showInformation() { viewerActions_->showInformation(); }

void ViewerCoordinator::showFolders() { viewerActions_->showFolders(); }

// The viewer window

void ViewerCoordinator::makeWindow()
{
    scene_ = new ViewerScene;
    window_ = new OverlayWindow(scene_);
    // The menus in compact mode; their keys in both.
    window_->setMenuBar(actions_->makeMenuBar(window_));
    window_->addActions(actions_->actions());
    window_->setGeometry(normalFrame_);
    // The platform window now, so that showing it later costs little.
    window_->winId();
    window_->onCompact = [this] { toggleCompact(); };
    window_->onKey = [this](QKeyEvent* event) { return handleKey(event); };
    window_->onCopy = [this] { copyImage(); };
    window_->onZoomKey = [this](QKeyEvent* event) { return handleZoomKey(event); };
    window_->onKeyRelease = [this](QKeyEvent* event) { return releaseZoomKey(event); };
    window_->onClose = [this] { Q_EMIT closeRequested(); };
    window_->onMinimized = [this](bool) { dropHeldKeys(); };
    window_->onActive = [this](bool active) {
        if (!active) dropHeldKeys();
    };
    scene_->onKey = window_->onKey;
    scene_->onNavigate = [this](int steps) {
        if (model_) model_->navigate(steps);
    };
    scene_->onTopHover = [this](bool inside) { setChrome(inside); };
    scene_->onChoose = [this](const MediaItem& item) {
        if (model_) model_->setCurrent(item);
    };
    scene_->onClose = window_->onClose;
    scene_->onMinimize = [this] { window_->showMinimized(); };
    scene_->onCompact = [this] { toggleCompact(); };
    scene_->onUndo = [this] {
        if (model_) model_->undoTrash();
    };
    scene_->onDetailWanted = [this] { loadDetail(); };
    video_ = new ViewerVideo(*scene_, this);
    video_->onFullScreen = [this](bool full) { videoFullScreenChanged(full); };
    QObject::connect(scene_->libraryButton(), &QAbstractButton::clicked, this, &ViewerCoordinator::libraryRequested);
    QObject::connect(scene_->copyButton(), &QAbstractButton::clicked, this, &ViewerCoordinator::copyImage);
    QObject::connect(scene_->folderButton(), &QAbstractButton::clicked, this, &ViewerCoordinator::showFolders);
    QObject::connect(scene_->infoButton(), &QAbstractButton::clicked, this, &ViewerCoordinator::showInformation);
}

// Frames as large as a fitted picture is on this screen, in its pixels.
QSize ViewerCoordinator::frameBoxFor(const QScreen* screen)
{
    if (!screen) return {};
    const QRectF viewport = ViewerScene::imageViewportFor(screen->geometry().size());
    const SizeF area = ViewerGeometry::fitArea({viewport.width(), viewport.height()});
    const double ratio = screen->devicePixelRatio();
    return {int(std::ceil(area.width * ratio)), int(std::ceil(area.height * ratio))};
}

void ViewerCoordinator::present(const MediaItem& item)
{
    if (!window_) makeWindow();
    if (presented_) {
        if (window_->isMinimized()) window_->showNormal();
    } else {
        Q_EMIT opening();
        immersive_ = true;
        ViewerPipeline::shared().setFrameBox(
            frameBoxFor(homeScreen_ ? homeScreen_.data() : QApplication::primaryScreen()));
        scene_->prepareOpening();
        presented_ = true;
        awaitingFirstFrame_ = true;
        scene_->setChrome(false);
        scene_->setWindowButtonsShown(true);
        window_->setMenuBarShown(false);
    }
    window_->setWindowTitle(translate("Mirelo", "%1 — Mirelo").arg(qstring(item.name())));
    scene_->setItems(model_ ? model_->viewerItems() : MediaItems{item}, std::string(item.path()));
    load(item);
}

void ViewerCoordinator::load(const MediaItem& item)
{
    dropHeldKeys();
    viewerActions_->closePopover();
    loadingWork_.stop();
    const int generation = ++generation_;
    video_->remove();
    scene_->errorLabel()->hide();
    scene_->zoomLabel()->setVisible(!item.isVideo());
    scene_->copyButton()->setEnabled(false);
    scene_->setFocus();
    currentFrame_.reset();
    previewShown_ = false;
    detailAsked_ = false;
    if (const std::optional<int> index = model_ ? model_->position() : std::nullopt) {
        if (shownIndex_ && *index != *shownIndex_) travel_ = *index > *shownIndex_ ? 1 : -1;
        shownIndex_ = index;
    }

    if (item.isVideo()) {
        scene_->filmstrip()->holdThumbnails(false);
        loadVideo(item, generation);
        return;
    }
    // The strip's thumbnails wait while a picture is being prepared.
    ViewerPipeline& pipeline = ViewerPipeline::shared();
    if (!pipeline.cache().find(pipeline.key(item))) scene_->filmstrip()->holdThumbnails(true);
    MediaItems retained{item};
    retained.append(neighbourItems());
    pipeline.retainRequests(retained);
    loadingWork_.start();
    QPointer<ViewerCoordinator> self(this);
    pipeline.load(item, ViewerPipeline::veryHigh, [self, generation, item](FrameRef frame) {
        if (!self || generation != self->generation_ || !self->presented_) return;
        self->loadingWork_.stop();
        self->scene_->setSpinning(false);
        if (frame) {
            const bool first = !self->displayedID_.has_value();
            self->currentFrame_ = frame;
            self->displayedID_ = std::string(item.path());
            self->scene_->copyButton()->setEnabled(true);
            self->showPreparedWindow();
            if (self->previewShown_)
                self->scene_->upgradeFrame(frame); // no jump: the same picture, sharper
            else
                self->scene_->showFrame(frame, item, first);
        } else {
            self->scene_->filmstrip()->holdThumbnails(false);
            self->displayedID_.reset();
            self->scene_->showError(
                translate("Mirelo", "This file can’t be previewed.\nIt may be damaged or use an unsupported codec."));
        }
        self->showPreparedWindow();
        // The neighbours once the picture the user waits for is on screen: on
        // a machine with few cores they would slow it down.
        self->scene_->stage()->whenPainted([self, generation] {
            if (!self || generation != self->generation_) return;
            self->scene_->filmstrip()->holdThumbnails(false);
            self->prefetchNeighbours();
        });
    });
    if (!currentFrame_ && generation == generation_) startPreview(item, generation);
}

// Zoomed past the screen-sized frame: the detailed one, the same picture sharper.
void ViewerCoordinator::loadDetail()
{
    if (detailAsked_ || !currentFrame_ || !model_ || !model_->current()) return;
    detailAsked_ = true;
    const MediaItem item = *model_->current();
    const int generation = generation_;
    QPointer<ViewerCoordinator> self(this);
    ViewerPipeline::shared().load(
        item, ViewerPipeline::high,
        [self, generation](FrameRef frame) {
            if (!self || generation != self->generation_ || !self->presented_ || !frame) return;
            self->currentFrame_ = frame;
            self->scene_->upgradeFrame(frame);
        },
        true);
}

void ViewerCoordinator::prefetchNeighbours()
{
    for (const MediaItem& neighbour : neighbourItems())
        if (!neighbour.isVideo()) ViewerPipeline::shared().load(neighbour, ViewerPipeline::veryLow);
}

// Something of the picture within a few tens of milliseconds: a decode a few
// hundred pixels across (JPEG reduces while decoding), until the full frame
// takes its place.
void ViewerCoordinator::startPreview(const MediaItem& item, int generation)
{
    // The grid's or the filmstrip's preview, when there is one, is on screen at once.
    if (std::optional<QImage> small = ThumbnailStore::shared().cache().find(cacheKey(item));
        small && !small->isNull()) {
        auto frame = std::make_shared<ViewerFrame>();
        frame->image = *small;
        // A preview smaller than the store's size is the whole picture;
        // otherwise the picture is larger, and fitted the same way as its frame will be.
        const double scale = std::max(small->width(), small->height()) < ThumbnailStore::shared().previewPixels()
                                 ? 1.0
                                 : double(1 << 14) / std::max(small->width(), small->height());
        frame->pixels = {small->width() * scale, small->height() * scale};
        frame->downsampled = true;
        frame->placeholder = true;
        showPreview(frame, item);
        return;
    }
    // A format read whole whatever the size is decoded once, for the frame:
    // a second decode beside it would only take half of its cores.
    if (!ImageDecoder::readsReduced(std::string(item.path()))) return;
    // The coordinator waits for its own workers when it goes, so they may post to it.
    previewWorkers_.start([this, generation, item] {
        std::optional<DecodedImage> quick = ImageDecoder::decode(std::string(item.path()), kPreviewSize);
        if (!quick || quick->image.isNull()) return;
        auto frame = std::make_shared<ViewerFrame>();
        frame->image = quick->image;
        frame->pixels = quick->pixels;
        frame->downsampled = true; // the backdrop comes with the full frame
        frame->placeholder = true;
        QMetaObject::invokeMethod(this, [this, generation, frame, item] {
            if (generation == generation_) showPreview(frame, item);
        });
    });
}

void ViewerCoordinator::showPreview(const FrameRef& frame, const MediaItem& item)
{
    if (!presented_ || currentFrame_ || previewShown_) return;
    previewShown_ = true;
    loadingWork_.stop();
    scene_->setSpinning(false);
    const bool first = !displayedID_.has_value();
    showPreparedWindow();
    scene_->showFrame(frame, item, first);
}

// A video plays only once the player has read it; until then the spinner
// turns, and one it cannot read says so.
void ViewerCoordinator::loadVideo(const MediaItem& item, int generation)
{
    scene_->stage()->reset();
    scene_->clearAmbient();
    scene_->setSpinning(true);
    video_->load(item, [this, generation](bool playable) {
        if (generation != generation_ || !presented_) return;
        scene_->setSpinning(false);
        if (playable) {
            video_->show(); // paused on its first picture: playback waits for Space
            scene_->setFocus();
        } else {
            video_->remove();
            scene_->showError(
                translate("Mirelo", "This video can’t be played on this computer.\nIts codec may not be supported."));
        }
        showPreparedWindow();
    });
}

void ViewerCoordinator::videoFullScreenChanged(bool full)
{
    if (full) {
        dropHeldKeys();
        chromeWork_.stop();
        viewerActions_->closePopover();
        scene_->setChrome(false);
    } else if (presented_) {
        scene_->setFocus();
    }
}

// The next picture and the one after in the direction of travel, then the
// one behind: a decode takes a good part of a key repeat's interval.
MediaItems ViewerCoordinator::neighbourItems() const
{
    MediaItems neighbours;
    if (!model_) return neighbours;
    const std::optional<int> index = model_->position();
    if (!index) return neighbours;
    const MediaItems& items = model_->viewerItems();
    for (const int step : {travel_, 2 * travel_, -travel_})
        if (*index + step >= 0 && *index + step < items.size()) neighbours.append(items[*index + step]);
    return neighbours;
}

// The window comes on screen only once it has something to show.
void ViewerCoordinator::showPreparedWindow()
{
    if (!presented_ || !awaitingFirstFrame_ || !window_) return;
    awaitingFirstFrame_ = false;
    if (immersive_) {
        // The whole screen, also where no window manager does full screen.
        const QScreen* screen = homeScreen_ ? homeScreen_.data() : QApplication::primaryScreen();
        if (screen) window_->setGeometry(screen->geometry());
        window_->showFullScreen();
    } else {
        window_->setGeometry(normalFrame_);
        window_->showNormal();
    }
    window_->raise();
    window_->activateWindow();
    scene_->setFocus();
    scene_->revealFilmstrip();
    Q_EMIT shown();
}

void ViewerCoordinator::dismiss()
{
    dropHeldKeys();
    viewerActions_->closePopover();
    const bool was = presented_;
    presented_ = false;
    awaitingFirstFrame_ = false;
    shownIndex_.reset();
    travel_ = 1;
    ++generation_;
    loadingWork_.stop();
    chromeWork_.stop();
    ViewerPipeline::shared().cancel();
    if (video_) video_->remove();
    if (scene_) {
        scene_->filmstrip()->stopGlide();
        scene_->filmstrip()->holdThumbnails(false);
        scene_->showVideo(nullptr);
        scene_->clearSelection();
        scene_->setSpinning(false);
        scene_->stage()->reset();
    }
    if (window_) window_->hide();
    currentFrame_.reset();
    displayedID_.reset();
    if (was) Q_EMIT dismissed();
}

void ViewerCoordinator::setItems(const MediaItems& items, const MediaItem& current)
{
    if (scene_) scene_->setItems(items, std::string(current.path()));
}

// The viewer's own sheet for moving the shown file to the Trash.
bool ViewerCoordinator::confirmTrash(const MediaItems& items)
{
    if (!presented_ || !window_) return false;
    const qsizetype count = items.size();
    auto* sheet =
        new AlertDialog(window_, translate("Mirelo", "Move %Ln file(s) to Trash?", nullptr, pluralCount(count)),
                        translate("Mirelo", "You can restore these files with Undo in Mirelo or from the Trash."));
    sheet->addButton(translate("Mirelo", "Cancel"), AlertDialog::Role::Cancel);
    QPushButton* move = sheet->addButton(translate("Mirelo", "Move to Trash"), AlertDialog::Role::Destructive);
    dropHeldKeys();
    QObject::connect(sheet, &QDialog::finished, this, [this, sheet, move, items] {
        if (sheet->clickedButton() != move || !model_) return;
        model_->setPendingTrash(items);
        model_->trashConfirmed();
    });
    sheet->open();
    return true;
}

void ViewerCoordinator::toggleCompact()
{
    if (!window_) return;
    immersive_ = !immersive_;
    scene_->setWindowButtonsShown(immersive_);
    window_->setMenuBarShown(!immersive_);
    if (!immersive_) {
        window_->showNormal();
        window_->setGeometry(normalFrame_);
        setChrome(true);
    } else {
        normalFrame_ = window_->geometry();
        if (const QScreen* screen = window_->screen()) window_->setGeometry(screen->geometry());
        window_->showFullScreen();
        setChrome(false);
    }
}

void ViewerCoordinator::setChrome(bool show)
{
    chromeWork_.stop();
    if (!scene_) return;
    if (!show && immersive_)
        chromeWork_.start();
    else
        scene_->setChrome(true);
}

// Keys

void ViewerCoordinator::dropHeldKeys()
{
    heldZoomKeys_.clear();
    if (scene_) scene_->stage()->cancelKeyboardZoom();
}

bool ViewerCoordinator::handleKey(QKeyEvent* event)
{
    if (!model_ || QApplication::activeModalWidget()) return false;
    switch (event->key()) {
    case Qt::Key_Left: model_->navigate(-1); return true;
    case Qt::Key_Right: model_->navigate(+1); return true;
    case Qt::Key_Space:
        if (video_->shown()) {
            // A video plays and pauses; otherwise the chrome comes and goes.
            video_->togglePlayback();
        } else {
            setChrome(!scene_->chromeShown());
        }
        return true;
    case Qt::Key_Escape:
        // An open panel closes first, alone.
        if (viewerActions_->popover())
            viewerActions_->closePopover();
        else
            Q_EMIT closeRequested();
        return true;
    default: return false;
    }
}

bool ViewerCoordinator::handleZoomKey(QKeyEvent* event)
{
    int direction = 0;
    if (!presented_ || !scene_ || !OverlayWindow::isZoomKey(event, &direction)) return false;
    const uint16_t code = OverlayWindow::keyCode(event);
    heldZoomKeys_.insert(code);
    scene_->stage()->beginKeyboardZoom(direction, code, event->isAutoRepeat());
    return true;
}

bool ViewerCoordinator::releaseZoomKey(QKeyEvent* event)
{
    const uint16_t code = OverlayWindow::keyCode(event);
    if (heldZoomKeys_.erase(code) == 0) return false;
    scene_->stage()->endKeyboardZoom(code);
    return true;
}

} // namespace mirelo
