#include "StorageBreakdownView.h"
#include "Translation.h"
#include "common/Text.h"

#include "library/MediaItem.h"
#include "common/Palette.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace mirelo {

namespace {

constexpr int kPadding = 14, kBarHeight = 8, kLegendSpacing = 20, kDot = 7, kDotGap = 6, kRowGap = 10;

QString bytesText(int64_t bytes) { return sizeText(bytes); }

} // namespace

std::vector<StorageBreakdownView::Group> StorageBreakdownView::groups(const MediaStorageSummary& summary)
{
    std::vector<Group> list{{translate("Mirelo", "Images"), summary.imageBytes, QColor(0, 122, 255)},
                            {translate("Mirelo", "Videos"), summary.videoBytes, QColor(255, 149, 0)}};
    if (summary.otherBytes > 0)
        list.push_back({translate("Mirelo", "Documents"), summary.otherBytes, QColor(255, 45, 85)});
    return list;
}

QString StorageBreakdownView::percent(int64_t bytes, int64_t total, const QLocale& locale)
{
    const double share = total > 0 ? double(bytes) / double(total) : 0.0;
    return locale.toString(share * 100, 'f', 1) + locale.percent();
}

QString StorageBreakdownView::legendText(const Group& group, int64_t total, const QLocale& locale)
{
    return group.title + QStringLiteral(" · ") + bytesText(group.bytes) + QStringLiteral(" · ") +
           percent(group.bytes, total, locale);
}

StorageBreakdownView::StorageBreakdownView(QWidget* parent) : QWidget(parent)
{
    setTitle(translate("Mirelo", "Space in these large files"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void StorageBreakdownView::setTitle(const QString& title)
{
    if (title == title_) return;
    title_ = title;
    setAccessibleName(title);
    update();
}

void StorageBreakdownView::setSummary(const MediaStorageSummary& summary, bool loading)
{
    // While the summary is recomputed the last one stays in view.
    if (!loading) summary_ = summary;
    loading_ = loading;
    QStringList legend;
    for (const Group& group : groups(summary_)) legend << legendText(group, summary_.totalBytes());
    setAccessibleDescription(totalText() + QStringLiteral(". ") + legend.join(QStringLiteral(", ")));
    update();
}

QString StorageBreakdownView::totalText() const
{
    return loading_ ? translate("Mirelo", "Updating…") : bytesText(summary_.totalBytes());
}

QSize StorageBreakdownView::sizeHint() const
{
    const int title = QFontMetrics(Palette::font(12, QFont::Medium)).height();
    const int legend = QFontMetrics(Palette::font(11)).height();
    return {400, 2 * kPadding + title + kRowGap + kBarHeight + kRowGap + legend};
}

void StorageBreakdownView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::WindowText);
    QColor fill = text;
    fill.setAlphaF(0.05f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()), 12, 12);

    // The title and the total.
    const QRect inner = rect().adjusted(kPadding, kPadding, -kPadding, -kPadding);
    const QFont titleFont = Palette::font(12, QFont::Medium);
    QFont totalFont = Palette::font(12, QFont::DemiBold);
    totalFont.setStyleHint(QFont::Monospace, QFont::PreferDefault);
    const int titleHeight = QFontMetrics(titleFont).height();
    painter.setPen(text);
    painter.setFont(titleFont);
    painter.drawText(QRect(inner.left(), inner.top(), inner.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     title_);
    painter.setFont(totalFont);
    painter.drawText(QRect(inner.left(), inner.top(), inner.width(), titleHeight), Qt::AlignRight | Qt::AlignVCenter,
                     totalText());

    // The bar: each group as wide as its share, in a capsule.
    const QRectF bar(inner.left(), inner.top() + titleHeight + kRowGap, inner.width(), kBarHeight);
    QPainterPath capsule;
    capsule.addRoundedRect(bar, kBarHeight / 2.0, kBarHeight / 2.0);
    painter.save();
    painter.setClipPath(capsule);
    QColor track = text;
    track.setAlphaF(0.08f);
    painter.fillRect(bar, track);
    const int64_t total = summary_.totalBytes();
    double x = bar.left();
    for (const Group& group : groups(summary_)) {
        const double width = total > 0 ? bar.width() * double(group.bytes) / double(total) : 0;
        painter.fillRect(QRectF(x, bar.top(), width, bar.height()), group.colour);
        x += width;
    }
    painter.restore();

    // The legend.
    const QFont legendFont = Palette::font(11);
    const QFontMetrics legendMetrics(legendFont);
    const int legendTop = int(bar.bottom()) + kRowGap;
    painter.setFont(legendFont);
    int left = inner.left();
    for (const Group& group : groups(summary_)) {
        const QString entry = legendText(group, total);
        painter.setPen(Qt::NoPen);
        painter.setBrush(group.colour);
        painter.drawEllipse(QRectF(left, legendTop + (legendMetrics.height() - kDot) / 2.0, kDot, kDot));
        left += kDot + kDotGap;
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(QPoint(left, legendTop + legendMetrics.ascent()), entry);
        left += legendMetrics.horizontalAdvance(entry) + kLegendSpacing;
    }
}

} // namespace mirelo
