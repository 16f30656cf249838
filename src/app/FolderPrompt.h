#pragma once
// The sheet on the library window that asks for a folder's name, provided by
// the user interface. The model says what to ask; the sheet answers later,
// on the main thread, with the entered name, or nothing when cancelled.

#include <QString>

#include <functional>
#include <optional>

namespace mirelo {

struct FolderPromptRequest {
    QString message;         // "Rename folder" or "New folder"
    QString informativeText; // what will happen, naming the folder
    QString name;            // prefilled and selected
    QString placeholder = QStringLiteral("Folder name");
    QString confirmButton; // "Rename" or "Create"; "Cancel" is the other
};

class FolderPrompt {
public:
    virtual ~FolderPrompt() = default;
    virtual void ask(const FolderPromptRequest& request,
                     std::function<void(std::optional<QString> name)> completion) = 0;
};

} // namespace mirelo
