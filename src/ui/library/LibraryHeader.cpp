#include "LibraryHeader.h"
#include "Translation.h"

#include "AppModel.h"
#include "LibraryTexts.h"
#include "common/CapsuleButton.h"
#include "common/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace mirelo {

LibraryHeader::LibraryHeader(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(32, 36, 32, 24);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    title_ = new QLabel(this);
    QFont titleFont = Palette::font(28, QFont::DemiBold);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.8);
    title_->setFont(titleFont);
    title_->setTextFormat(Qt::PlainText);
    subtitle_ = new QLabel(this);
    subtitle_->setFont(Palette::font(12));
    subtitle_->setForegroundRole(QPalette::PlaceholderText);
    subtitle_->setTextFormat(Qt::PlainText);
    subtitle_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    texts->addWidget(title_);
    texts->addWidget(subtitle_);
    row->addLayout(texts, 1);
    open_ = new CapsuleButton(translate("Mirelo", "Open images"), CapsuleButton::Kind::prominent, this);
    open_->setSymbol(QStringLiteral("list-add-symbolic"));
    connect(open_, &QAbstractButton::clicked, this, [this] { model_.chooseFiles(); });
    row->addWidget(open_, 0, Qt::AlignVCenter);

    for (auto signal : {&AppModel::restoringChanged, &AppModel::selectedFolderChanged, &AppModel::itemsChanged,
                        &AppModel::sectionChanged, &AppModel::loadingContentChanged, &AppModel::scopedItemsChanged,
                        &AppModel::totalBytesChanged})
        connect(&model_, signal, this, &LibraryHeader::refresh);
    refresh();
}

QString LibraryHeader::title() const { return title_->text(); }

void LibraryHeader::refresh()
{
    title_->setText(LibraryTexts::headerTitle(model_));
    subtitle_->setToolTip(LibraryTexts::headerSubtitle(model_));
    elide();
}

QString LibraryHeader::subtitle() const { return subtitle_->toolTip(); }

void LibraryHeader::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    elide();
}

// One line: a long library name is cut at the end.
void LibraryHeader::elide()
{
    const int room = width() - 64 - open_->sizeHint().width() - 24;
    const QString whole = subtitle_->toolTip();
    subtitle_->setText(room > 0 ? subtitle_->fontMetrics().elidedText(whole, Qt::ElideRight, room) : whole);
}

} // namespace mirelo
