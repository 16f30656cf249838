#pragma once
// The bar under the grid, 47 points tall: the file count and the hint to
// double-click, or in selection mode the selection's count and size with
// Copy, Share and Move to Trash.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace mirelo {

class AppModel;
class CapsuleButton;
class SelectionCopyButton;
class SelectionShareButton;

class LibraryFooter : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 47;

    explicit LibraryFooter(AppModel& model, QWidget* parent = nullptr);

    QString text() const;
    CapsuleButton* trashButton() const { return trash_; }
    SelectionShareButton* shareButton() const { return share_; }
    SelectionCopyButton* copyButton() const { return copy_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();

    AppModel& model_;
    QLabel* text_;
    QProgressBar* loading_;
    QLabel* hint_;
    SelectionCopyButton* copy_;
    SelectionShareButton* share_;
    CapsuleButton* trash_;
};

} // namespace mirelo
