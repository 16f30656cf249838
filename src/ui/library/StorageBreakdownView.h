#pragma once
// The card above the grid in the Large files section: how much space the
// files in view take, and how it divides between images, videos and other
// files, as a proportional bar and a legend with sizes and percentages.

#include "library/LibraryQuery.h"

#include <QColor>
#include <QLocale>
#include <QString>
#include <QWidget>

#include <vector>

namespace mirelo {

class StorageBreakdownView : public QWidget {
    Q_OBJECT
public:
    struct Group {
        QString title;
        int64_t bytes = 0;
        QColor colour;
    };
    // Images, Videos, and Documents only when there are other files.
    static std::vector<Group> groups(const MediaStorageSummary& summary);
    // "45.0%": the share of `total`, one fraction digit, in `locale`.
    static QString percent(int64_t bytes, int64_t total, const QLocale& locale = QLocale());
    // A legend entry: "Images · 4.2 MB · 45.0%".
    static QString legendText(const Group& group, int64_t total, const QLocale& locale = QLocale());
    // The line above the bar ("Space in these large files" unless set).
    void setTitle(const QString& title);

    explicit StorageBreakdownView(QWidget* parent = nullptr);

    void setSummary(const MediaStorageSummary& summary, bool loading);
    QString totalText() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    MediaStorageSummary summary_;
    bool loading_ = false;
};

} // namespace mirelo
