#pragma once
// One folder in a tree of folders: a disclosure chevron, the folder button
// and an options menu that shows under the pointer or while any of the
// row's controls has keyboard focus. The caller supplies what the buttons do
// and the options; the library's sidebar and the destination picker use it.

#include <QWidget>

#include <functional>
#include <string>

class QGraphicsOpacityEffect;
class QMenu;
class QToolButton;

namespace mirelo {

class FolderTreeRow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMostIndentedDepth = 6, kIndentStep = 12, kIndentBase = 3, kMinimumHeight = 34;

    // `fillActions` fills the options menu and the context menu each time one opens.
    FolderTreeRow(std::string path, int depth, std::function<void(QMenu&)> fillActions, QWidget* parent = nullptr);

    void setExpanded(bool expanded);
    void setSelected(bool selected);
    void setActionHint(const QString& hint);

    bool showsOptions() const;
    int leadingInset() const;
    QToolButton* disclosureButton() const { return disclosure_; }
    QToolButton* folderButton() const { return folder_; }
    QToolButton* optionsButton() const { return options_; }

Q_SIGNALS:
    void toggleRequested();
    void chooseRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void refresh();

    std::string path_;
    QString name_;
    int depth_;
    std::function<void(QMenu&)> fillActions_;
    bool expanded_ = false, selected_ = false, hovering_ = false;
    QToolButton* disclosure_;
    QToolButton* folder_;
    QToolButton* options_;
    QGraphicsOpacityEffect* optionsOpacity_;
};

} // namespace mirelo
