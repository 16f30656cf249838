#include "FolderTreeRow.h"
#include "Translation.h"

#include "files/FileUrl.h"
#include "DesktopLook.h"
#include "Palette.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

namespace mirelo {

FolderTreeRow::FolderTreeRow(std::string path, int depth, std::function<void(QMenu&)> fillActions, QWidget* parent)
    : QWidget(parent), path_(std::move(path)), depth_(depth), fillActions_(std::move(fillActions)),
      disclosure_(new QToolButton(this)), folder_(new QToolButton(this)), options_(new QToolButton(this)),
      optionsOpacity_(new QGraphicsOpacityEffect(options_))
{
    const std::string_view last = lastPathComponent(path_);
    name_ = QFile::decodeName(QByteArray(last.data(), qsizetype(last.size())));
    setMinimumHeight(kMinimumHeight);
    setFont(Palette::font(12));

    auto* row = new QHBoxLayout(this);
    row->setSpacing(4);
    row->setContentsMargins(leadingInset(), 0, 6, 0);
    for (QToolButton* button : {disclosure_, folder_, options_}) {
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::StrongFocus);
        button->installEventFilter(this);
    }
    disclosure_->setFixedSize(18, kMinimumHeight);
    disclosure_->setIconSize(QSize(9, 9));
    folder_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    folder_->setIconSize(QSize(15, 12));
    folder_->setText(name_);
    folder_->setToolTip(QFile::decodeName(QByteArray::fromStdString(path_)));
    folder_->setAccessibleName(name_);
    folder_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    options_->setFixedSize(22, 30);
    options_->setIcon(Palette::symbol(QStringLiteral("view-more-symbolic")));
    options_->setIconSize(QSize(12, 12));
    options_->setToolTip(translate("Mirelo", "Folder options"));
    options_->setAccessibleName(translate("Mirelo", "Options for %1").arg(name_));
    options_->setPopupMode(QToolButton::InstantPopup);
    options_->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    auto* menu = new QMenu(options_);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        menu->clear();
        fillActions_(*menu);
    });
    options_->setMenu(menu);
    connect(&DesktopLook::shared(), &DesktopLook::lookChanged, this, &FolderTreeRow::refresh);
    options_->setGraphicsEffect(optionsOpacity_);
    row->addWidget(disclosure_);
    row->addWidget(folder_, 1);
    row->addWidget(options_);

    connect(disclosure_, &QToolButton::clicked, this, &FolderTreeRow::toggleRequested);
    connect(folder_, &QToolButton::clicked, this, &FolderTreeRow::chooseRequested);
    refresh();
}

// Nesting deeper than six levels stops indenting.
int FolderTreeRow::leadingInset() const
{
    return std::clamp(depth_, 0, kMostIndentedDepth) * kIndentStep + kIndentBase;
}

void FolderTreeRow::setExpanded(bool expanded)
{
    expanded_ = expanded;
    refresh();
}

void FolderTreeRow::setSelected(bool selected)
{
    selected_ = selected;
    refresh();
}

void FolderTreeRow::setActionHint(const QString& hint) { folder_->setAccessibleDescription(hint); }

bool FolderTreeRow::showsOptions() const
{
    return hovering_ || disclosure_->hasFocus() || folder_->hasFocus() || options_->hasFocus();
}

void FolderTreeRow::refresh()
{
    disclosure_->setIcon(
        Palette::symbol(expanded_ ? QStringLiteral("pan-down-symbolic") : QStringLiteral("pan-end-symbolic")));
    disclosure_->setAccessibleName(
        (expanded_ ? translate("Mirelo", "Collapse %1") : translate("Mirelo", "Expand %1")).arg(name_));
    folder_->setIcon(
        Palette::symbol(expanded_ ? QStringLiteral("folder-open-symbolic") : QStringLiteral("folder-symbolic")));
    QPalette colours = palette();
    const QColor foreground = selected_ ? Palette::accent() : QApplication::palette().color(QPalette::WindowText);
    colours.setColor(QPalette::ButtonText, foreground);
    colours.setColor(QPalette::WindowText, foreground);
    folder_->setPalette(colours);
    optionsOpacity_->setOpacity(showsOptions() ? 1.0 : 0.0);
    update();
}

void FolderTreeRow::paintEvent(QPaintEvent*)
{
    if (!selected_ && !hovering_) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = selected_ ? Palette::accent() : palette().color(QPalette::WindowText);
    fill.setAlphaF(selected_ ? 0.1f : 0.045f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), 8, 8);
}

void FolderTreeRow::enterEvent(QEnterEvent* event)
{
    hovering_ = true;
    refresh();
    QWidget::enterEvent(event);
}

void FolderTreeRow::leaveEvent(QEvent* event)
{
    hovering_ = false;
    refresh();
    QWidget::leaveEvent(event);
}

// Focus moving between the row's controls shows or hides the options.
bool FolderTreeRow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
        QMetaObject::invokeMethod(this, &FolderTreeRow::refresh, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void FolderTreeRow::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    fillActions_(menu);
    menu.exec(event->globalPos());
}

} // namespace mirelo
