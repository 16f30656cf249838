#include "InformationPanel.h"
#include "Translation.h"

#include "ViewerPopover.h"
#include "common/PanelButton.h"
#include "common/Palette.h"
#include "common/Text.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include <cmath>

namespace mirelo {

QString InformationPanel::sizeText(const MediaItem& item)
{
    return mirelo::sizeText(item.bytes()) + QStringLiteral(" · ") +
           translate("Mirelo", "%1 bytes").arg(QLocale().toString(qlonglong(item.bytes())));
}

namespace {

// The decoder's labels in the user's language.
QString metadataLabel(const QString& label)
{
    if (label == u"Camera") return translate("Mirelo", "Camera");
    if (label == u"Lens") return translate("Mirelo", "Lens");
    if (label == u"Captured") return translate("Mirelo", "Captured");
    if (label == u"Color profile") return translate("Mirelo", "Color profile");
    return label;
}

// A capture time as the file writes it ("2015:07:01 09:00:00") in the
// user's way of writing dates; anything else as it stands.
QString capturedText(const QString& value)
{
    const QDateTime time = QDateTime::fromString(value.left(19), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    return time.isValid() ? QLocale().toString(time, QLocale::ShortFormat) : value;
}

} // namespace

InformationPanel::Rows InformationPanel::rows(const MediaItem& item, const ViewerFrame* frame)
{
    Rows rows{{translate("Mirelo", "Format"), QString::fromStdString(item.format())},
              {translate("Mirelo", "Size"), sizeText(item)}};
    if (frame) {
        rows.emplace_back(translate("Mirelo", "Dimensions"), translate("Mirelo", "%1 × %2")
                                                                 .arg(qlonglong(std::llround(frame->pixels.width)))
                                                                 .arg(qlonglong(std::llround(frame->pixels.height))));
        for (const auto& [label, value] : frame->metadata)
            rows.emplace_back(metadataLabel(label), label == u"Captured" ? capturedText(value) : value);
        if (frame->downsampled)
            rows.emplace_back(translate("Mirelo", "Preview"),
                              translate("Mirelo", "Optimized to 4,096 px for smooth viewing"));
    }
    const QDateTime modified =
        QDateTime::fromMSecsSinceEpoch(qint64(std::llround((item.modified() + kUnixEpochOffset) * 1000)));
    rows.emplace_back(translate("Mirelo", "Modified"), QLocale().toString(modified, QLocale::ShortFormat));
    rows.emplace_back(translate("Mirelo", "Location"), QFileInfo(qstring(item.path())).absolutePath());
    return rows;
}

void InformationPanel::fill(ViewerPopover& popover, const MediaItem& item, const ViewerFrame* frame,
                            std::function<void()> reveal)
{
    popover.addHeading(translate("Mirelo", "Image information"), qstring(item.name()));
    QVBoxLayout* column = popover.column();
    for (const auto& [label, value] : rows(item, frame)) {
        // Small capitals by the font, in the user's language: accents keep their room.
        auto* caption = new QLabel(label, &popover);
        QFont captionFont = Palette::font(10, QFont::DemiBold);
        captionFont.setCapitalization(QFont::AllUppercase);
        caption->setFont(captionFont);
        // Room above the capitals for the dots of Ä, Ö and Ü, which reach past the font's ascent.
        caption->setContentsMargins(0, 3, 0, 0);
        caption->setForegroundRole(QPalette::PlaceholderText);
        column->addWidget(caption);
        auto* shown = new QLabel(value, &popover);
        shown->setFont(Palette::font(13));
        shown->setWordWrap(true);
        shown->setMaximumWidth(ViewerPopover::kTextWidth);
        shown->setToolTip(value);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        column->addWidget(shown);
        column->addSpacing(16 - column->spacing());
    }
    column->addWidget(new PanelButton(translate("Mirelo", "Show in File Manager"), QStringLiteral("folder-symbolic"),
                                      std::move(reveal), &popover));
}

} // namespace mirelo
