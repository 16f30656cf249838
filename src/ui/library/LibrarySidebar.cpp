#include "LibrarySidebar.h"
#include "LibraryTexts.h"
#include "Translation.h"

#include "AppModel.h"
#include "LibraryFolderRow.h"
#include "SidebarSectionRow.h"
#include "common/CapsuleButton.h"
#include "layout/Spring.h"
#include "common/DesktopLook.h"
#include "common/Palette.h"
#include "common/TesselMark.h"
#include "common/Text.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace mirelo {

namespace {

// "LIBRARY" and "FOLDERS": small, bold, spaced capitals.
QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = Palette::font(10, QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setContentsMargins(12, 0, 12, 0);
    return label;
}

CapsuleButton* cardButton(const QString& title, const QString& symbol, bool after, QWidget* parent)
{
    auto* button = new CapsuleButton(title, CapsuleButton::Kind::bordered, parent);
    button->setSymbol(symbol, after);
    button->setPointSize(12, QFont::DemiBold);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

// The sections' spring (response 0.28 s, damping 0.88) as an easing curve
// over its settling time.
const Spring kSlide{0.28, 0.88};
qreal slideEasing(qreal progress) { return progress >= 1 ? 1.0 : kSlide.progress(progress * kSlide.settlingSeconds()); }

} // namespace

LibrarySidebar::LibrarySidebar(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setFixedWidth(kWidth);
    setStyleSheet(Palette::flatButtonStyle());
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 46, 16, 16);
    column->setSpacing(0);

    // The brand.
    auto* brand = new QHBoxLayout;
    brand->setSpacing(10);
    brand->addWidget(new TesselMark(32, this));
    auto* name = new QLabel(QStringLiteral("Mirelo"), this);
    QFont nameFont = Palette::font(19, QFont::DemiBold);
    nameFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
    name->setFont(nameFont);
    brand->addWidget(name, 1);
    column->addLayout(brand);
    column->addSpacing(35);

    // The sections.
    column->addWidget(caption(translate("Mirelo", "LIBRARY"), this));
    column->addSpacing(12);
    const std::pair<LibrarySection, const char*> symbols[] = {{LibrarySection::all, "view-grid-symbolic"},
                                                              {LibrarySection::images, "image-x-generic-symbolic"},
                                                              {LibrarySection::videos, "video-x-generic-symbolic"},
                                                              {LibrarySection::large, "drive-harddisk-symbolic"},
                                                              {LibrarySection::duplicates, "edit-copy-symbolic"}};
    for (auto [section, symbol] : symbols) {
        auto* row = new SidebarSectionRow(LibraryTexts::sectionTitle(section), QString::fromUtf8(symbol), this);
        connect(row, &QAbstractButton::clicked, this, [this, section = section] { model_.selectSection(section); });
        row->setDrawsHighlight(false); // the sidebar's own highlight slides between rows
        sections_[section] = row;
        column->addWidget(row);
    }

    // The scanned folders.
    column->addSpacing(30);
    auto* foldersHeader = new QHBoxLayout;
    foldersHeader->addWidget(caption(translate("Mirelo", "FOLDERS"), this), 1);
    auto* add = new QToolButton(this);
    add->setIcon(Palette::symbol(QStringLiteral("list-add-symbolic")));
    add->setIconSize(QSize(12, 12));
    add->setAutoRaise(true);
    add->setToolTip(translate("Mirelo", "Add a folder"));
    add->setAccessibleName(translate("Mirelo", "Add a folder"));
    connect(add, &QToolButton::clicked, this, [this] { model_.chooseFolders(); });
    foldersHeader->addWidget(add);
    column->addLayout(foldersHeader);
    column->addSpacing(10);
    auto* scroll = new QScrollArea(this);
    Palette::thinScrollBars(scroll);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumHeight(60);
    // The folders lie on the sidebar's own colour.
    scroll->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { background: transparent; }"));
    auto* list = new QWidget(scroll);
    list->setAutoFillBackground(false);
    folders_ = new QVBoxLayout(list);
    folders_->setContentsMargins(0, 0, 0, 0);
    folders_->setSpacing(0);
    noFolders_ = new QLabel(translate("Mirelo", "Your scanned folders\nwill appear here."), list);
    noFolders_->setFont(Palette::font(12));
    noFolders_->setForegroundRole(QPalette::PlaceholderText);
    noFolders_->setContentsMargins(12, 12, 12, 12);
    folders_->addWidget(noFolders_);
    folders_->addStretch();
    scroll->setWidget(list);
    column->addWidget(scroll, 1);
    column->addSpacing(12);

    // The scan card.
    auto* card = new QFrame(this);
    card->setObjectName(QStringLiteral("scanCard"));
    Palette::followLook(card, [card] {
        QColor cardFill = QApplication::palette().color(QPalette::Window);
        cardFill.setAlphaF(0.55f);
        card->setStyleSheet(
            QStringLiteral("#scanCard { background: %1; border-radius: 16px; }").arg(cardFill.name(QColor::HexArgb)));
    });
    auto* cardColumn = new QVBoxLayout(card);
    cardColumn->setContentsMargins(16, 16, 16, 16);
    cardColumn->setSpacing(6);
    auto* sparkle = new QLabel(card);
    Palette::followLook(sparkle, [sparkle] {
        sparkle->setPixmap(Palette::tintedSymbol(QStringLiteral("starred-symbolic"), 18,
                                                 QApplication::palette().color(QPalette::WindowText),
                                                 sparkle->devicePixelRatioF()));
    });
    cardColumn->addWidget(sparkle);
    auto* title = new QLabel(translate("Mirelo", "A little more space."), card);
    title->setFont(Palette::font(13, QFont::DemiBold));
    cardColumn->addWidget(title);
    auto* text = new QLabel(translate("Mirelo", "Find the files you need.\nLet go of the ones you don’t."), card);
    text->setFont(Palette::font(11));
    text->setForegroundRole(QPalette::PlaceholderText);
    text->setWordWrap(true); // longer languages wrap within the card
    cardColumn->addWidget(text);
    auto* scanFolders = cardButton(translate("Mirelo", "Scan folders"), QStringLiteral("go-next-symbolic"), true, card);
    scanFolders->setKind(CapsuleButton::Kind::prominent);
    connect(scanFolders, &QAbstractButton::clicked, this, [this] { model_.chooseFolders(); });
    cardColumn->addWidget(scanFolders);
    scanComputer_ =
        cardButton(translate("Mirelo", "Scan Entire Computer"), QStringLiteral("computer-symbolic"), false, card);
    scanComputer_->setToolTip(translate(
        "Mirelo",
        "Scan accessible files in your home folder and connected external drives. System files, hidden folders and "
        "app packages are excluded. Your index is saved and watched for changes while the app is open."));
    connect(scanComputer_, &QAbstractButton::clicked, this, [this] { model_.scanEntireComputer(); });
    cardColumn->addWidget(scanComputer_);
    column->addWidget(card);
    column->addSpacing(12);

    auto* settings = new QToolButton(this);
    settings->setText(translate("Mirelo", "Settings"));
    settings->setIcon(Palette::symbol(QStringLiteral("emblem-system-symbolic")));
    settings->setIconSize(QSize(12, 12));
    settings->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    settings->setAutoRaise(true);
    settings->setFont(Palette::font(12));
    connect(settings, &QToolButton::clicked, this, &LibrarySidebar::settingsRequested);
    column->addWidget(settings, 0, Qt::AlignLeft);

    slide_ = new QVariantAnimation(this);
    QEasingCurve spring;
    spring.setCustomType(slideEasing);
    slide_->setEasingCurve(spring);
    slide_->setDuration(int(kSlide.settlingSeconds() * 1000));
    connect(slide_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        highlight_ = value.toRectF();
        update();
    });
    fade_ = new QVariantAnimation(this);
    fade_->setDuration(180);
    fade_->setEasingCurve(QEasingCurve::OutQuad);
    connect(fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        highlightOpacity_ = value.toDouble();
        update();
    });
    for (auto signal : {&AppModel::sectionChanged, &AppModel::selectedFolderChanged, &AppModel::itemsChanged,
                        &AppModel::scanningChanged, &AppModel::busyChanged, &AppModel::duplicatesChanged})
        connect(&model_, signal, this, &LibrarySidebar::refreshSections);
    connect(&model_, &AppModel::recentFoldersChanged, this, &LibrarySidebar::refreshFolders);
    refreshSections();
    refreshFolders();
}

void LibrarySidebar::refreshSections()
{
    for (auto& [section, button] : sections_) {
        auto* row = static_cast<SidebarSectionRow*>(button);
        row->setCurrent(section == model_.section() && !model_.selectedFolder());
        QString count;
        if (section == LibrarySection::all && !model_.items().isEmpty())
            count = QLocale().toString(qlonglong(model_.items().size()));
        else if (section == LibrarySection::duplicates && model_.duplicateSearch().running())
            count = QStringLiteral("…");
        else if (section == LibrarySection::duplicates && model_.duplicateExtraCount() > 0)
            count = QLocale().toString(qlonglong(model_.duplicateExtraCount())); // the files that could go
        row->setCount(count);
    }
    scanComputer_->setEnabled(!model_.scanning() && !model_.busy());
    moveHighlight(isVisible());
}

void LibrarySidebar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    moveHighlight(false);
}

void LibrarySidebar::moveHighlight(bool animated)
{
    const std::optional<LibrarySection> current =
        model_.selectedFolder() ? std::nullopt : std::optional<LibrarySection>(model_.section());
    animated = animated && !DesktopLook::shared().reduceMotion();
    const double opacity = current ? 1.0 : 0.0;
    if (opacity != (fade_->state() == QAbstractAnimation::Running ? fade_->endValue().toDouble() : highlightOpacity_)) {
        fade_->stop();
        if (animated) {
            fade_->setStartValue(highlightOpacity_);
            fade_->setEndValue(opacity);
            fade_->start();
        } else {
            highlightOpacity_ = opacity;
        }
    }
    if (!current) return;
    const QRectF target = QRectF(sections_.at(*current)->geometry());
    const bool moved = shownSection_ && shownSection_ != current;
    shownSection_ = current;
    if (animated && moved && !highlight_.isEmpty()) {
        slide_->stop();
        slide_->setStartValue(highlight_);
        slide_->setEndValue(target);
        slide_->start();
    } else if (slide_->state() != QAbstractAnimation::Running) {
        highlight_ = target;
    }
    update();
}

void LibrarySidebar::refreshFolders()
{
    const PathList& folders = model_.recentFolders();
    if (folders == shownFolders_) return;
    for (int i = folders_->count() - 1; i >= 0; --i)
        if (auto* row = qobject_cast<LibraryFolderRow*>(folders_->itemAt(i)->widget())) {
            folders_->removeWidget(row);
            row->deleteLater();
        }
    for (size_t i = 0; i < folders.size(); ++i) {
        auto* row = new LibraryFolderRow(model_, folders[i], 0, folders_->parentWidget());
        connect(row, &LibraryFolderRow::revealRequested, this, &LibrarySidebar::revealRequested);
        folders_->insertWidget(int(i), row);
    }
    noFolders_->setVisible(folders.empty());
    shownFolders_ = folders;
}

// The sidebar's own colour, as a gentle gradient from edge to edge.
void LibrarySidebar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    const QColor colour = Palette::sidebar();
    gradient.setColorAt(0, colour.lighter(103));
    gradient.setColorAt(1, colour);
    painter.fillRect(rect(), gradient);
    // The current section's highlight, sliding from row to row.
    if (highlightOpacity_ > 0 && !highlight_.isEmpty()) {
        QColor fill = Palette::accent();
        fill.setAlphaF(float(0.13 * highlightOpacity_));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawRoundedRect(highlight_, 11, 11);
    }
}

} // namespace mirelo
