#pragma once
// The viewer's window. It hands keys to the coordinator before anything in
// it sees them (arrows and zoom keys work whatever has focus, the filmstrip
// included), takes Ctrl+C for copying the picture, never closes (closing
// asks the coordinator to dismiss the viewer), and turns the window
// manager's maximise into the compact and immersive switch.

#include <QWidget>

#include <functional>

class QMenuBar;

namespace mirelo {

class OverlayWindow : public QWidget {
    Q_OBJECT
public:
    explicit OverlayWindow(QWidget* content);
    ~OverlayWindow() override;

    std::function<void()> onCompact;
    std::function<bool(QKeyEvent*)> onKey;
    std::function<void()> onCopy;
    std::function<bool(QKeyEvent*)> onZoomKey;
    std::function<bool(QKeyEvent*)> onKeyRelease;
    std::function<void()> onClose;
    std::function<void(bool minimized)> onMinimized;
    std::function<void(bool active)> onActive;

    void setMenuBar(QMenuBar* bar);
    void setMenuBarShown(bool shown);

    // A key as the zoom keys count it (the physical key where known).
    static uint16_t keyCode(const QKeyEvent* event);
    // Whether the viewer takes this key before normal dispatch.
    static bool isZoomKey(const QKeyEvent* event, int* direction = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool mine(QObject* object) const;
    // The viewer's open panel that holds `widget`, if any.
    QWidget* panelOf(QWidget* widget) const;
    QMenuBar* menuBar_ = nullptr;
    bool editingText() const;
};

} // namespace mirelo
