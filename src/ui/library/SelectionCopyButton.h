#pragma once
// "Copy" in the selection footer: puts the selected files on the clipboard
// for the file manager, then reads "Copied" for 1.6 seconds.

#include "common/CapsuleButton.h"

#include <QTimer>

namespace mirelo {

class AppModel;

class SelectionCopyButton : public CapsuleButton {
    Q_OBJECT
public:
    static constexpr int kFeedbackMs = 1600;

    explicit SelectionCopyButton(AppModel& model, QWidget* parent = nullptr);
    bool copied() const { return feedback_.isActive(); }

private:
    void copy();
    void refresh();

    AppModel& model_;
    QTimer feedback_;
};

} // namespace mirelo
