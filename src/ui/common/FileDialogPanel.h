#pragma once
// The model's open panels as the desktop's file dialog, shown on the
// library window when it is visible and answering without blocking.

#include "OpenPanel.h"

#include <QPointer>
#include <QWidget>

namespace mirelo {

class FileDialogPanel : public OpenPanel {
public:
    // `parent` gives the dialog its window (it may be null or go away).
    explicit FileDialogPanel(std::function<QWidget*()> parent) : parent_(std::move(parent)) {}
    void choose(const OpenPanelRequest& request,
                std::function<void(std::vector<std::string> chosen)> completion) override;

private:
    std::function<QWidget*()> parent_;
};

} // namespace mirelo
