#pragma once
// One section of the sidebar's LIBRARY list: its symbol, its title and, for
// All media, the item count; the current one in the accent colour on a
// rounded highlight.

#include <QAbstractButton>

namespace mirelo {

class SidebarSectionRow : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kHeight = 41;

    SidebarSectionRow(const QString& title, const QString& symbol, QWidget* parent = nullptr);

    void setCurrent(bool current);
    // Off when the sidebar draws one highlight that slides between rows.
    void setDrawsHighlight(bool draws) { drawsHighlight_ = draws; }
    bool isCurrent() const { return current_; }
    // Shown at the row's end; empty for none.
    void setCount(const QString& count);
    const QString& count() const { return count_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    QString count_;
    bool current_ = false;
    bool drawsHighlight_ = true;
};

} // namespace mirelo
