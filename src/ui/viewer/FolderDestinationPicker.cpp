#include "FolderDestinationPicker.h"
#include "Translation.h"

#include "DestinationFolderRow.h"
#include "common/Palette.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace mirelo {

namespace {

// One of the two bottom buttons: the symbol and title, the whole width, a
// soft rounded fill while pressed.
class DestinationAction : public QPushButton {
public:
    DestinationAction(const QString& title, const QString& symbol, QWidget* parent) : QPushButton(title, parent)
    {
        setIcon(Palette::symbol(symbol));
        setIconSize(QSize(14, 14));
        setFont(Palette::font(12, QFont::Medium));
        setMinimumHeight(32);
        setCursor(Qt::PointingHandCursor);
        setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding: 0 8px; border: none; border-radius: "
                                     "8px; background: transparent; }"
                                     "QPushButton:pressed { background: rgba(128, 128, 128, 0.16); }"
                                     "QPushButton:focus { background: rgba(128, 128, 128, 0.10); }"));
    }
};

} // namespace

int FolderDestinationPicker::listHeight(size_t roots)
{
    return std::clamp(int(roots) * kRowHeight + 8, kMinimumList, kMaximumList);
}

FolderDestinationPicker::FolderDestinationPicker(AppModel& model, std::vector<std::string> roots, QWidget* parent)
    : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(7);
    auto* title = new QLabel(translate("Mirelo", "Add to Folder"), this);
    title->setFont(Palette::font(17, QFont::DemiBold));
    column->addWidget(title);
    auto* subtitle = new QLabel(translate("Mirelo", "Save a copy. Your original stays in place."), this);
    subtitle->setFont(Palette::font(12));
    subtitle->setForegroundRole(QPalette::PlaceholderText);
    column->addWidget(subtitle);

    if (!roots.empty()) {
        list_ = new QScrollArea(this);
        Palette::thinScrollBars(list_);
        list_->setFrameShape(QFrame::NoFrame);
        list_->setWidgetResizable(true);
        list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list_->setFixedHeight(listHeight(roots.size()));
        auto* body = new QWidget(list_);
        auto* rows = new QVBoxLayout(body);
        rows->setContentsMargins(0, 4, 0, 4);
        rows->setSpacing(0);
        for (const std::string& root : roots) {
            auto* row = new DestinationFolderRow(model, *this, expanded_, root, 0, body);
            rows->addWidget(row);
            rows_.push_back(row);
        }
        rows->addStretch(1);
        list_->setWidget(body);
        column->addWidget(list_);
        auto* divider = new QFrame(this);
        divider->setFrameShape(QFrame::HLine);
        divider->setFrameShadow(QFrame::Plain);
        divider->setForegroundRole(QPalette::Mid);
        column->addWidget(divider);
    }

    auto* actions = new QVBoxLayout;
    actions->setSpacing(4);
    auto* existing =
        new DestinationAction(translate("Mirelo", "Choose existing folder…"), QStringLiteral("folder-symbolic"), this);
    connect(existing, &QPushButton::clicked, this, [this] {
        if (chooseExisting) chooseExisting();
    });
    auto* create =
        new DestinationAction(translate("Mirelo", "Create a new folder…"), QStringLiteral("folder-new-symbolic"), this);
    connect(create, &QPushButton::clicked, this, [this] {
        if (createFolder) createFolder();
    });
    actions->addWidget(existing);
    actions->addWidget(create);
    column->addLayout(actions);
}

} // namespace mirelo
