#include "EmptyStateView.h"
#include "Translation.h"

#include "AppModel.h"
#include "LibraryTexts.h"
#include "common/CapsuleButton.h"
#include "common/Palette.h"

#include <QLabel>
#include <QVBoxLayout>

namespace mirelo {

EmptyStateView::EmptyStateView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(12);
    column->addStretch(1);
    auto* symbol = new QLabel(this);
    Palette::followLook(
        symbol, [symbol] { symbol->setPixmap(Palette::symbol(QStringLiteral("edit-find-symbolic")).pixmap(36, 36)); });
    symbol->setAlignment(Qt::AlignCenter);
    column->addWidget(symbol);
    title_ = new QLabel(this);
    title_->setFont(Palette::font(17, QFont::DemiBold));
    title_->setAlignment(Qt::AlignCenter);
    column->addWidget(title_);
    message_ = new QLabel(this);
    message_->setFont(Palette::font(13));
    message_->setForegroundRole(QPalette::PlaceholderText);
    message_->setAlignment(Qt::AlignCenter);
    column->addWidget(message_);
    auto* clear = new CapsuleButton(translate("Mirelo", "Clear filters"), CapsuleButton::Kind::bordered, this);
    clear_ = clear;
    connect(clear, &QAbstractButton::clicked, this, [this] {
        // One step: the three changes run one query.
        model_.setSection(LibrarySection::all);
        model_.setFormat(AppModel::kAllFormatsLabel);
        model_.setSearch(QString());
    });
    column->addWidget(clear, 0, Qt::AlignHCenter);
    column->addStretch(1);

    connect(&model_, &AppModel::scanningChanged, this, &EmptyStateView::refresh);
    connect(&model_, &AppModel::sectionChanged, this, &EmptyStateView::refresh);
    connect(&model_, &AppModel::duplicatesChanged, this, &EmptyStateView::refresh);
    connect(&model_, &AppModel::searchChanged, this, &EmptyStateView::refresh);
    connect(&model_, &AppModel::formatChanged, this, &EmptyStateView::refresh);
    connect(&model_, &AppModel::selectedFolderChanged, this, &EmptyStateView::refresh);
    refresh();
}

QString EmptyStateView::title() const { return title_->text(); }
QString EmptyStateView::message() const { return message_->text(); }
bool EmptyStateView::offersClearing() const { return !clear_->isHidden(); }

void EmptyStateView::refresh()
{
    title_->setText(LibraryTexts::emptyTitle(model_));
    message_->setText(LibraryTexts::emptyMessage(model_));
    // An empty Duplicates section with nothing narrowing it has nothing to clear.
    const bool narrowed = !model_.search().isEmpty() || model_.format() != AppModel::kAllFormatsLabel ||
                          model_.selectedFolder().has_value();
    clear_->setHidden(model_.section() == LibrarySection::duplicates && !narrowed);
}

} // namespace mirelo
