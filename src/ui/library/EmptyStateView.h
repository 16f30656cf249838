#pragma once
// Over the grid when nothing matches: a filter symbol, what is happening
// ("Finding your media…" or "No matching files"), a hint for the section,
// and "Clear filters" (in Duplicates only while a filter narrows it).

#include <QWidget>

class QLabel;

namespace mirelo {

class AppModel;

class EmptyStateView : public QWidget {
    Q_OBJECT
public:
    explicit EmptyStateView(AppModel& model, QWidget* parent = nullptr);
    QString title() const;
    QString message() const;
    bool offersClearing() const;

private:
    void refresh();

    AppModel& model_;
    QLabel* title_;
    QLabel* message_;
    QWidget* clear_;
};

} // namespace mirelo
