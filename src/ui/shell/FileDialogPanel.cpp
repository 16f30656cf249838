#include "FileDialogPanel.h"

#include <QFileDialog>
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
            dialog->setNameFilters({QStringLiteral("Images and videos (%1)").arg(request.nameFilters.join(QLatin1Char(' '))),
                                    QStringLiteral("All files (*)")});
    }
    const QStringList pictures = QStandardPaths::standardLocations(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty()) dialog->setDirectory(pictures.front());
    if (!request.message.isEmpty()) dialog->setToolTip(request.message);
    dialog->setWindowModality(dialog->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    auto answered = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, completion, answered](int result) {
        if (*answered) return;
        *answered = true;
        std::vector<std::string> chosen;
        if (result == QDialog::Accepted)
            for (const QString& file : dialog->selectedFiles()) chosen.push_back(file.toStdString());
        completion(std::move(chosen));
    });
    dialog->open();
}

} // namespace mirelo
