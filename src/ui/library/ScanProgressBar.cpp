#include "ScanProgressBar.h"
#include "Translation.h"

#include "AppModel.h"
#include "LibraryTexts.h"
#include "common/CapsuleButton.h"
#include "common/Palette.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace mirelo {

ScanProgressBar::ScanProgressBar(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(32, 0, 32, 14);
    row->setSpacing(10);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    busy->setFixedSize(72, 6);
    busy->setAccessibleName(translate("Mirelo", "Scanning"));
    row->addWidget(busy, 0, Qt::AlignVCenter);
    label_ = new QLabel(this);
    label_->setFont(Palette::font(12));
    row->addWidget(label_);
    auto* stop = new CapsuleButton(translate("Mirelo", "Stop"), CapsuleButton::Kind::plain, this);
    connect(stop, &QAbstractButton::clicked, this, [this] {
        if (model_.scanning())
            model_.stopScan();
        else
            model_.stopDuplicates();
    });
    row->addWidget(stop);
    row->addStretch(1);

    connect(&model_, &AppModel::scannedCountChanged, this, &ScanProgressBar::refresh);
    connect(&model_, &AppModel::scanningChanged, this, &ScanProgressBar::refresh);
    connect(&model_, &AppModel::duplicatesChanged, this, &ScanProgressBar::refresh);
    refresh();
}

QString ScanProgressBar::text() const { return label_->text(); }

void ScanProgressBar::refresh()
{
    // A scan first; the search for duplicates when no scan runs.
    const DuplicateSearch& duplicates = model_.duplicateSearch();
    setVisible(model_.scanning() || duplicates.running());
    label_->setText(model_.scanning() ? LibraryTexts::scanProgress(model_.scannedCount())
                                      : LibraryTexts::duplicateProgress(duplicates.done(), duplicates.total()));
}

} // namespace mirelo
