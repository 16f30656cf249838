#include "FileDialogPanel.h"
#include "Translation.h"

#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QStandardPaths>

namespace mirelo {

void FileDialogPanel::choose(const OpenPanelRequest& request, std::function<void(std::vector<std::string>)> completion)
{
    QWidget* parent = parent_ ? parent_() : nullptr;
    auto* dialog = new QFileDialog(parent && parent->isVisible() ? parent : nullptr, request.title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setLabelText(QFileDialog::Accept, request.prompt);
    if (request.chooseFolders && !request.chooseFiles) {
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog->setFileMode(request.multipleSelection ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        if (!request.nameFilters.isEmpty())
            dialog->setNameFilters(
                {translate("Mirelo", "Images and videos (%1)").arg(request.nameFilters.join(QLatin1Char(' '))),
                 translate("Mirelo", "All files (*)")});
    }
    const QStringList pictures = QStandardPaths::standardLocations(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty()) dialog->setDirectory(pictures.front());
    if (!request.message.isEmpty()) {
        // The message as a line of text under the files; a dialog of the
        // desktop's own, which takes no widgets, carries it in its title.
        if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
            auto* message = new QLabel(request.message, dialog);
            message->setObjectName(QStringLiteral("panelMessage"));
            message->setWordWrap(true);
            grid->addWidget(message, grid->rowCount(), 0, 1, grid->columnCount());
        } else {
            dialog->setWindowTitle(request.title + QStringLiteral(" — ") + request.message);
        }
    }
    dialog->setWindowModality(dialog->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, completion, answered](int result) {
        if (*answered) return;
        *answered = true;
        std::vector<std::string> chosen;
        if (result == QDialog::Accepted)
            for (const QString& file : dialog->selectedFiles()) chosen.push_back(QFile::encodeName(file).toStdString());
        completion(std::move(chosen));
    });
    dialog->open();
}

} // namespace mirelo
