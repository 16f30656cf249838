#include "OverlayWindow.h"
#include "Translation.h"
#include "AppSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace mirelo {

namespace {
constexpr Qt::KeyboardModifiers kModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
}

OverlayWindow::OverlayWindow(QWidget* content) : QWidget(nullptr)
{
    setObjectName(QStringLiteral("tessel-immersive-viewer"));
    setWindowTitle(translate("Mirelo", "Mirelo Viewer"));
    setMinimumSize(720, 540);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgbF(0.35f, 0.35f, 0.35f));
    setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    resize(AppSettings::kWindowWidth, AppSettings::kWindowHeight);
    qApp->installEventFilter(this);
}

OverlayWindow::~OverlayWindow() { qApp->removeEventFilter(this); }

void OverlayWindow::setMenuBar(QMenuBar* bar)
{
    menuBar_ = bar;
    bar->setAutoFillBackground(true);
    bar->setPalette(QApplication::palette()); // not the window's grey
    static_cast<QVBoxLayout*>(layout())->setMenuBar(bar);
}

void OverlayWindow::setMenuBarShown(bool shown)
{
    if (menuBar_) menuBar_->setVisible(shown);
}

uint16_t OverlayWindow::keyCode(const QKeyEvent* event)
{
    if (event->nativeScanCode() != 0) return uint16_t(event->nativeScanCode());
    return uint16_t(event->key() & 0xFFFF);
}

bool OverlayWindow::isZoomKey(const QKeyEvent* event, int* direction)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & kModifiers;
    int found = 0;
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Up) found = 1;
    if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Down) found = -1;
    // + and − with Ctrl or Shift but never Alt (nor Meta).
    if (!(modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
        if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) found = 1;
        if (event->key() == Qt::Key_Minus || event->key() == Qt::Key_Underscore) found = -1;
    }
    if (direction) *direction = found;
    return found != 0;
}

bool OverlayWindow::mine(QObject* object) const
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && (widget->window() == this || panelOf(widget));
}

QWidget* OverlayWindow::panelOf(QWidget* widget) const
{
    // A panel beside one of the viewer's buttons: a popup window of ours.
    QWidget* window = widget ? widget->window() : nullptr;
    if (!window || window == this || window->windowType() != Qt::Popup) return nullptr;
    QWidget* owner = window->parentWidget();
    return owner && owner->window() == this ? window : nullptr;
}

bool OverlayWindow::editingText() const
{
    QWidget* focus = QApplication::focusWidget();
    return qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus);
}

// Before normal dispatch: key releases, zoom keys, plain arrows, Ctrl+C.
bool OverlayWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride) ||
        !mine(watched) || QApplication::activeModalWidget() || editingText())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool copy = (key->modifiers() & kModifiers) == Qt::ControlModifier && key->key() == Qt::Key_C;
    if (type == QEvent::ShortcutOverride) {
        // Ours, not the menus': the zoom keys are held, Ctrl+C copies the picture.
        if (isZoomKey(key) || copy) key->accept();
        return false;
    }
    if (type == QEvent::KeyRelease) return onKeyRelease && !key->isAutoRepeat() && onKeyRelease(key);
    const bool plain = (key->modifiers() & kModifiers) == Qt::NoModifier;
    const bool arrow = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right;
    if (QWidget* panel = panelOf(static_cast<QWidget*>(watched))) {
        // An open panel does not keep the viewer's keys: the key closes it
        // and acts (Escape only closes it, which the panel does itself).
        const bool viewerKey = isZoomKey(key) || copy || (plain && (arrow || key->key() == Qt::Key_Space));
        if (!viewerKey) return false;
        panel->close();
        if (key->key() == Qt::Key_Space) return onKey && onKey(key);
    }
    if (onZoomKey && isZoomKey(key) && onZoomKey(key)) return true;
    if (copy && onCopy) {
        onCopy();
        return true;
    }
    if (arrow && plain && onKey) return onKey(key);
    return false;
}

void OverlayWindow::closeEvent(QCloseEvent* event)
{
    // Never closed: the viewer is dismissed and the window kept.
    event->ignore();
    if (onClose) onClose();
}

void OverlayWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized) && onCompact) {
        // The window manager's maximise switches compact and immersive.
        setWindowState(windowState() & ~Qt::WindowMaximized);
        onCompact();
        return;
    }
    if (event->type() == QEvent::WindowStateChange && onMinimized) onMinimized(isMinimized());
    if (event->type() == QEvent::ActivationChange && onActive) onActive(isActiveWindow());
}

} // namespace mirelo
