#include "SettingsSheet.h"
#include "Translation.h"

#include "AppSettings.h"
#include "DefaultViewerPanel.h"
#include "ViewerPipeline.h"
#include "common/CapsuleButton.h"
#include "common/DesktopLook.h"
#include "common/Palette.h"
#include "common/SheetDimmer.h"
#include "common/TesselMark.h"

#include <QKeySequence>
#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace mirelo {

namespace {

constexpr int kSteps = 20; // the slider moves in steps of 0.05

QLabel* label(const QString& text, double size, QWidget* parent, QFont::Weight weight = QFont::Normal,
              bool secondary = false)
{
    auto* label = new QLabel(text, parent);
    label->setFont(Palette::font(size, weight));
    if (secondary) label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

// A label with its symbol before it.
QWidget* titled(const QString& text, const QString& symbol, double size, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(6);
    auto* icon = new QLabel(row);
    Palette::followLook(icon, [icon, symbol, size] {
        icon->setPixmap(Palette::tintedSymbol(
            symbol, int(size) + 1, QApplication::palette().color(QPalette::WindowText), icon->devicePixelRatioF()));
    });
    line->addWidget(icon);
    line->addWidget(label(text, size, row, QFont::Medium));
    return row;
}

} // namespace

QString SettingsSheet::percentText(double blur)
{
    return QString::number(std::lround(blur * 100)) + QStringLiteral("%");
}

SettingsSheet::SettingsSheet(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(translate("Mirelo", "Settings"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(580);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(30, 30, 30, 30);
    column->setSpacing(24);
    column->addWidget(makeHeader());
    auto* version = label(translate("Mirelo", "MIRELO %1  ·  A closer look.").arg(QStringLiteral(MIRELO_VERSION)), 9,
                          this, QFont::Medium, true);
    QFont spaced = version->font();
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 1.4);
    version->setFont(spaced);
    column->addWidget(version);
    column->addWidget(makeAppearance());
    column->addWidget(makeBlur());
    defaults_ = new DefaultViewerPanel(this);
    connect(defaults_, &DefaultViewerPanel::applyingChanged, this,
            [this](bool applying) { done_->setEnabled(!applying); });
    column->addWidget(defaults_);
    column->addWidget(makeInformation());
}

void SettingsSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Tall enough for its wrapped texts at its width, which run longer in
    // some languages than the first size guess allows.
    if (layout()->hasHeightForWidth()) resize(width(), std::max(height(), layout()->totalHeightForWidth(width())));
    // A sheet: the window under it is dimmed while it is open.
    if (parentWidget()) SheetDimmer::cover(parentWidget()->window(), this);
}

// The sheet's edge, so that it stands apart from the window under it.
void SettingsSheet::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.22f);
    painter.setPen(QPen(edge, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

QWidget* SettingsSheet::makeHeader()
{
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(new TesselMark(45, header));
    auto* titles = new QVBoxLayout;
    titles->setSpacing(4);
    titles->addWidget(label(translate("Mirelo", "Make yourself at home."), 23, header, QFont::DemiBold));
    titles->addWidget(label(translate("Mirelo", "Mirelo settings"), 12, header, QFont::Normal, true));
    row->addLayout(titles, 1);
    done_ = new CapsuleButton(translate("Mirelo", "Done"), CapsuleButton::Kind::bordered, header);
    done_->setToolTip(translate("Mirelo", "Done (Esc)"));
    connect(done_, &QAbstractButton::clicked, this, &QDialog::accept);
    row->addWidget(done_, 0, Qt::AlignTop);
    return header;
}

QWidget* SettingsSheet::makeAppearance()
{
    auto* block = new QWidget(this);
    auto* row = new QHBoxLayout(block);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(
        titled(translate("Mirelo", "Appearance"), QStringLiteral("weather-clear-night-symbolic"), 13, block));
    row->addStretch(1);
    auto* segments = new QWidget(block);
    segments->setFixedWidth(240);
    segments->setStyleSheet(
        QStringLiteral("QToolButton { padding: 3px; }"
                       "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text); }"));
    auto* line = new QHBoxLayout(segments);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(0);
    appearance_ = new QButtonGroup(this);
    const QString current = AppSettings::open()->value(AppSettings::kAppearance, QStringLiteral("system")).toString();
    const std::pair<const char*, const char*> choices[] = {{QT_TRANSLATE_NOOP("Mirelo", "System"), "system"},
                                                           {QT_TRANSLATE_NOOP("Mirelo", "Light"), "light"},
                                                           {QT_TRANSLATE_NOOP("Mirelo", "Dark"), "dark"}};
    for (const auto& [title, value] : choices) {
        auto* segment = new QToolButton(segments);
        segment->setText(translate("Mirelo", title));
        segment->setCheckable(true);
        segment->setChecked(current == QLatin1String(value));
        segment->setObjectName(QString::fromLatin1(value));
        segment->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        appearance_->addButton(segment);
        line->addWidget(segment);
    }
    connect(appearance_, &QButtonGroup::buttonClicked, this, [](QAbstractButton* segment) {
        AppSettings::open()->setValue(AppSettings::kAppearance, segment->objectName());
        DesktopLook::shared().apply(segment->objectName());
    });
    row->addWidget(segments);
    return block;
}

QWidget* SettingsSheet::makeBlur()
{
    auto* block = new QWidget(this);
    auto* rows = new QVBoxLayout(block);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);
    auto* top = new QHBoxLayout;
    top->addWidget(titled(translate("Mirelo", "Background blur"), QStringLiteral("weather-fog-symbolic"), 13, block));
    top->addStretch(1);
    percent_ = label(QString(), 12, block, QFont::Normal, true);
    QFont digits = percent_->font();
    digits.setFamily(QStringLiteral("monospace"));
    percent_->setFont(digits);
    top->addWidget(percent_);
    reset_ = new CapsuleButton(translate("Mirelo", "Reset"), CapsuleButton::Kind::plain, block);
    top->addWidget(reset_);
    rows->addLayout(top);
    auto* slide = new QHBoxLayout;
    slide->addWidget(label(translate("Mirelo", "None"), 11, block, QFont::Normal, true));
    blur_ = new QSlider(Qt::Horizontal, block);
    blur_->setRange(0, kSteps);
    blur_->setPageStep(2);
    blur_->setAccessibleName(translate("Mirelo", "Background blur"));
    slide->addWidget(blur_, 1);
    slide->addWidget(label(translate("Mirelo", "Soft"), 11, block, QFont::Normal, true));
    rows->addLayout(slide);
    rows->addWidget(label(translate("Mirelo", "Adjust the softness behind your image. The default is 10%."), 11, block,
                          QFont::Normal, true));

    connect(blur_, &QSlider::valueChanged, this, [this](int step) {
        const double blur = double(step) / kSteps;
        AppSettings::open()->setValue(AppSettings::kBackgroundBlur, blur);
        showBlur(blur);
    });
    connect(reset_, &QAbstractButton::clicked, this, [this] {
        AppSettings::open()->setValue(AppSettings::kBackgroundBlur, kDefaultBlur);
        showBlur(kDefaultBlur);
    });
    showBlur(ViewerPreferences::backgroundBlur());
    return block;
}

void SettingsSheet::showBlur(double blur)
{
    const QSignalBlocker quiet(blur_);
    blur_->setValue(int(std::lround(blur * kSteps)));
    percent_->setText(percentText(blur));
    blur_->setAccessibleDescription(translate("Mirelo", "%1 percent").arg(std::lround(blur * 100)));
    reset_->setEnabled(std::abs(blur - kDefaultBlur) > 0.001);
}

QWidget* SettingsSheet::makeInformation()
{
    auto* block = new QWidget(this);
    auto* row = new QHBoxLayout(block);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(24);
    auto* keys = new QVBoxLayout;
    keys->setSpacing(6);
    keys->addWidget(
        titled(translate("Mirelo", "Made for your desktop"), QStringLiteral("input-keyboard-symbolic"), 12, block));
    const std::pair<const char*, const char*> shortcuts[] = {
        {QT_TRANSLATE_NOOP("Mirelo", "Open images"), "Ctrl+O"},
        {QT_TRANSLATE_NOOP("Mirelo", "Scan folders"), "Shift+Ctrl+O"},
        {QT_TRANSLATE_NOOP("Mirelo", "Fit / actual size"), "Ctrl+0, Ctrl+1"},
        {QT_TRANSLATE_NOOP("Mirelo", "Undo Trash"), "Ctrl+Z"}};
    for (const auto& [name, key] : shortcuts) {
        auto* line = new QHBoxLayout;
        line->addWidget(label(translate("Mirelo", name), 11, block));
        line->addStretch(1);
        line->addWidget(label(QKeySequence(QString::fromLatin1(key))
                                  .toString(QKeySequence::NativeText)
                                  .replace(QStringLiteral(", "), QStringLiteral(" / ")),
                              11, block, QFont::Normal, true));
        keys->addLayout(line);
    }
    row->addLayout(keys, 1);
    auto* privacy = new QVBoxLayout;
    privacy->setSpacing(6);
    privacy->addWidget(
        titled(translate("Mirelo", "Your files stay yours"), QStringLiteral("security-high-symbolic"), 12, block));
    for (const char* text :
         {QT_TRANSLATE_NOOP("Mirelo",
                            "Mirelo works locally. Scans don’t upload or move your files. Deletions go to the Trash."),
          QT_TRANSLATE_NOOP("Mirelo", "Image and video codec support depends on the codecs installed. PDF and animated "
                                      "images currently display their first page or frame.")}) {
        QLabel* line = label(translate("Mirelo", text), 11, block, QFont::Normal, true);
        line->setWordWrap(true);
        privacy->addWidget(line);
    }
    privacy->addStretch(1);
    row->addLayout(privacy, 1);
    return block;
}

void SettingsSheet::keyPressEvent(QKeyEvent* event)
{
    // Escape is Done, and does nothing while formats are being registered.
    if (event->key() == Qt::Key_Escape) {
        if (done_->isEnabled()) accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace mirelo
