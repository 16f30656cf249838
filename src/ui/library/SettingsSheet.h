#pragma once
// Settings, a sheet on the library window: the look (system, light, dark),
// the softness of the viewer's backdrop, the default-viewer registration,
// the main shortcuts and a word on privacy. Choices are stored at once and
// take effect at once.

#include "AppSettings.h"
#include <QDialog>

class QButtonGroup;
class QLabel;
class QSlider;

namespace mirelo {

class CapsuleButton;
class DefaultViewerPanel;

class SettingsSheet : public QDialog {
    Q_OBJECT
public:
    static constexpr double kDefaultBlur = AppSettings::kDefaultBlur;

    explicit SettingsSheet(QWidget* parent = nullptr);

    QSlider* blurSlider() const { return blur_; }
    QLabel* blurPercent() const { return percent_; }
    CapsuleButton* resetButton() const { return reset_; }
    CapsuleButton* doneButton() const { return done_; }
    QButtonGroup* appearance() const { return appearance_; }
    DefaultViewerPanel* defaultViewer() const { return defaults_; }
    // "35%" for 0.35.
    static QString percentText(double blur);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeAppearance();
    QWidget* makeBlur();
    QWidget* makeInformation();
    void showBlur(double blur);

    QSlider* blur_ = nullptr;
    QLabel* percent_ = nullptr;
    CapsuleButton* reset_ = nullptr;
    CapsuleButton* done_ = nullptr;
    QButtonGroup* appearance_ = nullptr;
    DefaultViewerPanel* defaults_ = nullptr;
};

} // namespace mirelo
