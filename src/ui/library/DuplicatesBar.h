#pragma once
// Above the duplicates section's groups: which kind of duplicates ("Exact
// copies" or "Similar photos"), for photos how alike, and "Select extra
// copies". Shown only in that section; the model holds the choices.

#include <QWidget>

#include <vector>

namespace mirelo {

class AppModel;
class CapsuleButton;

class DuplicatesBar : public QWidget {
    Q_OBJECT
public:
    explicit DuplicatesBar(AppModel& model, QWidget* parent = nullptr);

private:
    void refresh();

    AppModel& model_;
    CapsuleButton* exact_ = nullptr;
    CapsuleButton* similar_ = nullptr;
    std::vector<std::pair<CapsuleButton*, int>> steps_;
    CapsuleButton* selectExtra_ = nullptr;
};

} // namespace mirelo
