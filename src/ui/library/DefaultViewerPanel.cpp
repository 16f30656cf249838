#include "DefaultViewerPanel.h"
#include "Translation.h"

#include "common/CapsuleButton.h"
#include "common/Palette.h"
#include "common/DefaultViewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace mirelo {

DefaultViewerPanel::DefaultViewerPanel(QWidget* parent)
    : QWidget(parent), prepare(&DefaultViewer::prepare), assign(&DefaultViewer::assign)
{
    for (const QString& format : DefaultViewer::initialSelection()) selected_.insert(format);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(22, 22, 22, 22);
    column->setSpacing(12);

    auto* heading = new QHBoxLayout;
    auto* symbol = new QLabel(this);
    Palette::followLook(symbol, [symbol] {
        symbol->setPixmap(Palette::tintedSymbol(QStringLiteral("image-x-generic-symbolic"), 15,
                                                QApplication::palette().color(QPalette::WindowText),
                                                symbol->devicePixelRatioF()));
    });
    heading->addWidget(symbol);
    auto* title = new QLabel(translate("Mirelo", "Your default image viewer"), this);
    title->setFont(Palette::font(15, QFont::DemiBold));
    heading->addWidget(title, 1);
    column->addLayout(heading);
    auto* text = new QLabel(
        translate("Mirelo",
                  "Choose the formats you’d like to open in Mirelo when you double-click a file in your file manager."),
        this);
    text->setFont(Palette::font(12));
    text->setForegroundRole(QPalette::PlaceholderText);
    text->setWordWrap(true);
    column->addWidget(text);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 7, 0, 7);
    grid->setVerticalSpacing(13);
    const QStringList& formats = DefaultViewer::offered();
    for (qsizetype i = 0; i < formats.size(); ++i) {
        auto* box = new QCheckBox(formats[i].toUpper(), this);
        box->setObjectName(formats[i]);
        connect(box, &QCheckBox::toggled, this, [this, format = formats[i]](bool on) {
            on ? (void)selected_.insert(format) : (void)selected_.remove(format);
            refresh();
        });
        grid->addWidget(box, int(i / 4), int(i % 4));
        boxes_ << box;
    }
    column->addLayout(grid);

    auto* actions = new QHBoxLayout;
    selectAll_ = new CapsuleButton(translate("Mirelo", "Select all"), CapsuleButton::Kind::plain, this);
    connect(selectAll_, &QAbstractButton::clicked, this, [this] {
        QSet<QString> all;
        if (selected_.size() != DefaultViewer::offered().size())
            for (const QString& format : DefaultViewer::offered()) all.insert(format);
        setSelected(all);
    });
    actions->addWidget(selectAll_);
    actions->addStretch(1);
    spinner_ = new QProgressBar(this);
    spinner_->setRange(0, 0);
    spinner_->setFixedWidth(60);
    spinner_->setMaximumHeight(6);
    spinner_->setTextVisible(false);
    actions->addWidget(spinner_);
    counter_ = new QLabel(this);
    counter_->setFont(Palette::font(12));
    actions->addWidget(counter_);
    main_ = new CapsuleButton(translate("Mirelo", "Set Mirelo as default"), CapsuleButton::Kind::prominent, this);
    connect(main_, &QAbstractButton::clicked, this, &DefaultViewerPanel::setDefaults);
    actions->addWidget(main_);
    column->addLayout(actions);

    result_ = new QLabel(this);
    result_->setFont(Palette::font(11));
    result_->setForegroundRole(QPalette::PlaceholderText);
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(result_);
    refresh();
}

QCheckBox* DefaultViewerPanel::box(const QString& format) const
{
    for (QCheckBox* box : boxes_)
        if (box->objectName() == format) return box;
    return nullptr;
}

void DefaultViewerPanel::setSelected(const QSet<QString>& formats)
{
    selected_ = formats;
    refresh();
}

void DefaultViewerPanel::refresh()
{
    for (QCheckBox* box : boxes_) {
        const QSignalBlocker quiet(box);
        box->setChecked(selected_.contains(box->objectName()));
        box->setEnabled(!applying_);
    }
    selectAll_->setText(selected_.size() == DefaultViewer::offered().size() ? translate("Mirelo", "Deselect all")
                                                                            : translate("Mirelo", "Select all"));
    selectAll_->setEnabled(!applying_);
    selectAll_->updateGeometry();
    spinner_->setVisible(applying_);
    counter_->setVisible(applying_);
    counter_->setText(QStringLiteral("%1/%2").arg(finished_).arg(total_));
    main_->setText(applying_ ? translate("Mirelo", "Updating…") : translate("Mirelo", "Set Mirelo as default"));
    main_->setEnabled(!applying_ && !selected_.isEmpty());
    main_->updateGeometry();
    result_->setVisible(!result_->text().isEmpty());
}

void DefaultViewerPanel::setDefaults()
{
    if (applying_ || selected_.isEmpty()) return;
    if (std::optional<QString> problem = prepare ? prepare() : std::nullopt) {
        result_->setText(*problem);
        refresh();
        return;
    }
    queue_ = QStringList(selected_.begin(), selected_.end());
    std::sort(queue_.begin(), queue_.end());
    processed_.clear();
    failures_.clear();
    finished_ = updated_ = 0;
    total_ = int(queue_.size());
    applying_ = true;
    result_->clear();
    refresh();
    Q_EMIT applyingChanged(true);
    QTimer::singleShot(0, this, &DefaultViewerPanel::next);
}

// One format at a time, the window painting the counter in between.
void DefaultViewerPanel::next()
{
    if (queue_.isEmpty()) {
        applying_ = false;
        result_->setText(DefaultViewer::resultMessage(updated_, failures_));
        refresh();
        Q_EMIT applyingChanged(false);
        Q_EMIT finished();
        return;
    }
    const QString format = queue_.takeFirst();
    processed_ << format;
    if (std::optional<QString> failure = assign(format))
        failures_ << *failure;
    else
        ++updated_;
    ++finished_;
    refresh();
    QTimer::singleShot(0, this, &DefaultViewerPanel::next);
}

void DefaultViewerPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::WindowText);
    fill.setAlphaF(0.045f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), 18, 18);
}

} // namespace mirelo
