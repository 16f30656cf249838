#include "DuplicatesBar.h"

#include "AppModel.h"
#include "Translation.h"
#include "common/CapsuleButton.h"
#include "duplicates/SimilarPhotos.h"

#include <QHBoxLayout>

namespace mirelo {

DuplicatesBar::DuplicatesBar(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(32, 0, 32, 12);
    row->setSpacing(6);
    exact_ = new CapsuleButton(translate("Mirelo", "Exact copies"), CapsuleButton::Kind::plain, this);
    similar_ = new CapsuleButton(translate("Mirelo", "Similar photos"), CapsuleButton::Kind::plain, this);
    connect(exact_, &QAbstractButton::clicked, this, [this] { model_.setDuplicateKind(DuplicateGroups::Kind::exact); });
    connect(similar_, &QAbstractButton::clicked, this,
            [this] { model_.setDuplicateKind(DuplicateGroups::Kind::similar); });
    row->addWidget(exact_);
    row->addWidget(similar_);
    row->addSpacing(18);
    for (auto [title, bits] :
         {std::pair{QT_TRANSLATE_NOOP("Mirelo", "Nearly identical"), SimilarPhotos::kNearlyIdentical},
          std::pair{QT_TRANSLATE_NOOP("Mirelo", "Very similar"), SimilarPhotos::kVerySimilar},
          std::pair{QT_TRANSLATE_NOOP("Mirelo", "Similar"), SimilarPhotos::kSimilar}}) {
        auto* step = new CapsuleButton(translate("Mirelo", title), CapsuleButton::Kind::plain, this);
        connect(step, &QAbstractButton::clicked, this, [this, bits = bits] { model_.setSimilarity(bits); });
        row->addWidget(step);
        steps_.push_back({step, bits});
    }
    row->addStretch(1);
    selectExtra_ = new CapsuleButton(translate("Mirelo", "Select extra copies"), CapsuleButton::Kind::bordered, this);
    selectExtra_->setToolTip(
        translate("Mirelo", "Selects every copy but the one Mirelo suggests keeping, in each group shown"));
    connect(selectExtra_, &QAbstractButton::clicked, this, [this] { model_.selectExtraCopies(); });
    row->addWidget(selectExtra_);

    for (auto signal : {&AppModel::duplicatesChanged, &AppModel::sectionChanged, &AppModel::visibleChanged,
                        &AppModel::loadingContentChanged, &AppModel::busyChanged})
        connect(&model_, signal, this, &DuplicatesBar::refresh);
    refresh();
}

void DuplicatesBar::refresh()
{
    setVisible(model_.section() == LibrarySection::duplicates);
    const bool similar = model_.duplicateKind() == DuplicateGroups::Kind::similar;
    // The choice made is the prominent one.
    exact_->setKind(similar ? CapsuleButton::Kind::plain : CapsuleButton::Kind::prominent);
    similar_->setKind(similar ? CapsuleButton::Kind::prominent : CapsuleButton::Kind::plain);
    for (auto [step, bits] : steps_) {
        step->setVisible(similar);
        step->setKind(bits == model_.similarity() ? CapsuleButton::Kind::bordered : CapsuleButton::Kind::plain);
    }
    selectExtra_->setEnabled(!model_.shownGroups().empty() && !model_.loadingContent() && !model_.busy());
}

} // namespace mirelo
