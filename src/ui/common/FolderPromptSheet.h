#pragma once
// The sheet on the library window that asks for a folder's name (rename,
// new folder): the question, what will happen, the name selected, and the
// two buttons. Empty names cannot be confirmed.

#include "FolderPrompt.h"

#include <QWidget>

#include <functional>

namespace mirelo {

class FolderPromptSheet : public FolderPrompt {
public:
    explicit FolderPromptSheet(std::function<QWidget*()> window) : window_(std::move(window)) {}
    void ask(const FolderPromptRequest& request, std::function<void(std::optional<QString> name)> completion) override;

private:
    std::function<QWidget*()> window_;
};

} // namespace mirelo
