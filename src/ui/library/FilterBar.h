#pragma once
// Above the grid: the search field, the Format and Sort by pickers, and the
// selection controls (Select All or Deselect All, Select or Done).

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace mirelo {

class AppModel;
class CapsuleButton;

class FilterBar : public QWidget {
    Q_OBJECT
public:
    explicit FilterBar(AppModel& model, QWidget* parent = nullptr);

    QLineEdit* searchField() const { return search_; }
    QComboBox* formatPicker() const { return format_; }
    QComboBox* sortPicker() const { return sort_; }
    CapsuleButton* selectAllButton() const { return selectAll_; }
    CapsuleButton* selectButton() const { return select_; }

private:
    void refreshFormats();
    void refreshSelection();

    AppModel& model_;
    QLineEdit* search_;
    QComboBox* format_;
    QComboBox* sort_;
    CapsuleButton* selectAll_;
    CapsuleButton* select_;
};

} // namespace mirelo
