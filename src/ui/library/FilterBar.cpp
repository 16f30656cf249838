#include "FilterBar.h"
#include "Translation.h"

#include "AppModel.h"
#include "LibraryTexts.h"
#include "common/CapsuleButton.h"
#include "common/Palette.h"
#include "common/Text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>

namespace mirelo {

FilterBar::FilterBar(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(32, 0, 32, 14);
    row->setSpacing(10);

    search_ = new QLineEdit(this);
    search_->setPlaceholderText(translate("Mirelo", "Search files"));
    search_->setAccessibleName(translate("Mirelo", "Search files"));
    search_->addAction(Palette::symbol(QStringLiteral("edit-find-symbolic")), QLineEdit::LeadingPosition);
    search_->setClearButtonEnabled(true);
    search_->setMaximumWidth(230);
    search_->setMinimumWidth(160);
    search_->setText(model_.search());
    connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) { model_.setSearch(text); });
    connect(&model_, &AppModel::searchChanged, this, [this] {
        if (search_->text() != model_.search()) search_->setText(model_.search());
    });
    row->addWidget(search_, 1);

    format_ = new QComboBox(this);
    format_->setFixedWidth(120);
    format_->setAccessibleName(translate("Mirelo", "Format"));
    format_->setToolTip(translate("Mirelo", "Format"));
    connect(format_, &QComboBox::activated, this,
            [this](int index) { model_.setFormat(format_->itemData(index).toString()); });
    row->addWidget(format_);

    sort_ = new QComboBox(this);
    sort_->setFixedWidth(135);
    sort_->setAccessibleName(translate("Mirelo", "Sort by"));
    sort_->setToolTip(translate("Mirelo", "Sort by"));
    for (MediaSort sort : MediaSorts::allCases) {
        sort_->addItem(LibraryTexts::sortTitle(sort), int(sort));
    }
    connect(sort_, &QComboBox::activated, this,
            [this](int index) { model_.setSort(MediaSort(sort_->itemData(index).toInt())); });
    connect(&model_, &AppModel::sortChanged, this,
            [this] { sort_->setCurrentIndex(sort_->findData(int(model_.sort()))); });
    sort_->setCurrentIndex(sort_->findData(int(model_.sort())));
    row->addWidget(sort_);
    row->addStretch(1);

    selectAll_ = new CapsuleButton(translate("Mirelo", "Select All"), CapsuleButton::Kind::plain, this);
    selectAll_->setToolTip(translate("Mirelo", "Select every file matching the current filters"));
    connect(selectAll_, &QAbstractButton::clicked, this, [this] { model_.toggleSelectAll(); });
    row->addWidget(selectAll_);
    select_ = new CapsuleButton(translate("Mirelo", "Select"), CapsuleButton::Kind::bordered, this);
    connect(select_, &QAbstractButton::clicked, this, [this] {
        const bool selecting = !model_.selecting();
        model_.setSelecting(selecting);
        if (!selecting) model_.setSelection({});
    });
    row->addWidget(select_);

    connect(&model_, &AppModel::formatsChanged, this, &FilterBar::refreshFormats);
    connect(&model_, &AppModel::formatChanged, this, &FilterBar::refreshFormats);
    for (auto signal : {&AppModel::selectingChanged, &AppModel::selectionChanged, &AppModel::visibleChanged,
                        &AppModel::loadingContentChanged})
        connect(&model_, signal, this, &FilterBar::refreshSelection);
    refreshFormats();
    refreshSelection();
}

void FilterBar::refreshFormats()
{
    QStringList wanted{AppModel::kAllFormatsLabel};
    wanted += model_.formats();
    QStringList shown;
    for (int i = 0; i < format_->count(); ++i) shown << format_->itemData(i).toString();
    const QSignalBlocker quiet(format_);
    if (shown != wanted) {
        format_->clear();
        for (const QString& format : wanted) format_->addItem(LibraryTexts::formatTitle(format), format);
    }
    int index = format_->findData(model_.format());
    if (index < 0) {
        // A format the library no longer has stays chosen until changed.
        format_->addItem(model_.format(), model_.format());
        index = format_->count() - 1;
    }
    format_->setCurrentIndex(index);
}

void FilterBar::refreshSelection()
{
    const bool selecting = model_.selecting();
    selectAll_->setVisible(selecting);
    const QString title = LibraryTexts::selectAllTitle(model_);
    selectAll_->setText(title);
    selectAll_->setAccessibleName(title);
    selectAll_->setEnabled(!model_.loadingContent() && !model_.visible().isEmpty());
    selectAll_->updateGeometry();
    select_->setText(selecting ? translate("Mirelo", "Done") : translate("Mirelo", "Select"));
    select_->setAccessibleName(select_->text());
    select_->setEnabled(!model_.loadingContent());
    select_->updateGeometry();
}

} // namespace mirelo
