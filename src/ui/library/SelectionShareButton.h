#pragma once
// "Share" in the selection footer: a menu of what the desktop offers for
// the selected files (e-mail, another application, the file manager).

#include "common/CapsuleButton.h"

#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace mirelo {

class SelectionShareButton : public CapsuleButton {
    Q_OBJECT
public:
    explicit SelectionShareButton(QWidget* parent = nullptr);

    // The selected files, in library order, gathered when the button is
    // pressed (not on every change of the selection).
    using Files = std::function<std::vector<std::string>()>;
    void setFiles(Files files) { files_ = std::move(files); }
    // The menu the button shows for `files`.
    QMenu* makeMenu(const std::vector<std::string>& files);

private:
    void share();

    Files files_;
};

} // namespace mirelo
