#pragma once
// Settings' panel for making Mirelo the desktop's default viewer: one box
// per offered format, Select all / Deselect all, and the main button, which
// registers the ticked formats one at a time in ascending order with a
// counter, then says what happened, a line for each format that failed.

#include <QSet>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QProgressBar;

namespace mirelo {

class CapsuleButton;

class DefaultViewerPanel : public QWidget {
    Q_OBJECT
public:
    explicit DefaultViewerPanel(QWidget* parent = nullptr);

    bool applying() const { return applying_; }
    const QSet<QString>& selected() const { return selected_; }
    void setSelected(const QSet<QString>& formats);
    QCheckBox* box(const QString& format) const;
    CapsuleButton* mainButton() const { return main_; }
    CapsuleButton* selectAllButton() const { return selectAll_; }
    QLabel* counter() const { return counter_; }
    QLabel* result() const { return result_; }
    // The formats in the order the last run took them.
    const QStringList& processed() const { return processed_; }

    // Runs the registration: `prepare` makes Mirelo known to the desktop (or
    // says why not), `assign` registers one format (a failure line or
    // nothing); the desktop's own by default.
    void setDefaults();
    std::function<std::optional<QString>()> prepare;
    std::function<std::optional<QString>(const QString& extension)> assign;

Q_SIGNALS:
    void applyingChanged(bool applying);
    void finished();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void refresh();
    void next();

    QSet<QString> selected_;
    bool applying_ = false;
    QStringList queue_, failures_, processed_;
    int finished_ = 0, updated_ = 0, total_ = 0;
    QList<QCheckBox*> boxes_;
    CapsuleButton* selectAll_;
    CapsuleButton* main_;
    QProgressBar* spinner_;
    QLabel* counter_;
    QLabel* result_;
};

} // namespace mirelo
