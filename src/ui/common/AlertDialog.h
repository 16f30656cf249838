#pragma once
// Confirmations and errors in the application's own calm look: a card with
// a title, a text that wraps however long the names in it, and buttons at
// its right. The cancel button is the default (Return and Escape both
// cancel); a destructive button is drawn as such and is never the default.
// Over a window it is a sheet: the window is dimmed behind the card and
// nothing else in the application takes input until it is answered.

#include <QDialog>
#include <QPixmap>
#include <QPointer>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace mirelo {

class AlertDialog : public QDialog {
    Q_OBJECT
public:
    enum class Role { Cancel, Accept, Destructive };

    // Over `parent`'s window as a sheet, or alone in the middle of the
    // screen when `parent` is null.
    AlertDialog(QWidget* parent, const QString& title, const QString& text);

    QPushButton* addButton(const QString& text, Role role);
    // The button that closed the dialog; null after Escape.
    QPushButton* clickedButton() const { return clicked_; }
    QList<QPushButton*> buttons() const;
    const QString& title() const { return titleText_; }
    const QString& message() const { return messageText_; }

    // An error or notice with one OK button, opened at once.
    static AlertDialog* inform(QWidget* parent, const QString& title, const QString& message);

    // Lets a line break wherever a long name needs one (after a slash, a
    // dot, an underscore, or every so often inside a long run of letters).
    static QString breakable(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followParent();

    QPointer<QWidget> over_; // the window the sheet covers
    QPixmap behind_;         // that window, dimmed
    QWidget* card_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* text_ = nullptr;
    QHBoxLayout* buttons_ = nullptr;
    QPushButton* clicked_ = nullptr;
    QString titleText_, messageText_;
};

} // namespace mirelo
