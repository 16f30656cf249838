#pragma once
// The top of the library column: the title (the section, the folder, or
// the welcome line), the subtitle with the library's name, count and size,
// and the "Open images" button.

#include <QWidget>

class QLabel;

namespace mirelo {

class AppModel;
class CapsuleButton;

class LibraryHeader : public QWidget {
    Q_OBJECT
public:
    explicit LibraryHeader(AppModel& model, QWidget* parent = nullptr);

    QString title() const;
    // The whole subtitle; the label cuts it to one line.
    QString subtitle() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    void elide();

    AppModel& model_;
    QLabel* title_;
    QLabel* subtitle_;
    CapsuleButton* open_;
};

} // namespace mirelo
