#include "FolderPromptSheet.h"
#include "Translation.h"

#include "common/Palette.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirelo {

void FolderPromptSheet::ask(const FolderPromptRequest& request, std::function<void(std::optional<QString>)> completion)
{
    QWidget* window = window_ ? window_() : nullptr;
    auto* sheet = new QDialog(window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowTitle(request.message);
    sheet->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    sheet->setMinimumWidth(380);
    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(24, 22, 24, 18);
    column->setSpacing(10);
    auto* title = new QLabel(request.message, sheet);
    title->setFont(Palette::font(15, QFont::DemiBold));
    column->addWidget(title);
    auto* text = new QLabel(request.informativeText, sheet);
    text->setWordWrap(true);
    text->setFont(Palette::font(12));
    column->addWidget(text);
    auto* field = new QLineEdit(request.name, sheet);
    field->setPlaceholderText(request.placeholder);
    field->selectAll();
    column->addWidget(field);
    auto* buttons = new QDialogButtonBox(sheet);
    QPushButton* confirm = buttons->addButton(request.confirmButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(translate("Mirelo", "Cancel"), QDialogButtonBox::RejectRole);
    confirm->setDefault(true);
    auto validate = [field, confirm] { confirm->setEnabled(!field->text().trimmed().isEmpty()); };
    QObject::connect(field, &QLineEdit::textChanged, sheet, validate);
    validate();
    QObject::connect(buttons, &QDialogButtonBox::accepted, sheet, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, sheet, &QDialog::reject);
    column->addWidget(buttons);
    QObject::connect(sheet, &QDialog::finished, sheet, [field, completion](int result) {
        completion(result == QDialog::Accepted ? std::optional<QString>(field->text()) : std::nullopt);
    });
    sheet->open();
    field->setFocus();
}

} // namespace mirelo
