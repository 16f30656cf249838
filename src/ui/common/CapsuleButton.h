#pragma once
// The window's push buttons, painted as capsules in the application's own
// colours: prominent (filled with the accent), bordered, plain (text only)
// and destructive. A symbol may stand before or after the title.

#include <QAbstractButton>

namespace mirelo {

class CapsuleButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Kind { prominent, bordered, plain, destructive };

    CapsuleButton(const QString& title, Kind kind, QWidget* parent = nullptr);

    // A freedesktop symbol name; `after` puts it after the title.
    void setSymbol(const QString& name, bool after = false);
    void setPointSize(double size, QFont::Weight weight = QFont::Medium);
    void setKind(Kind kind);
    Kind kind() const { return kind_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString symbol_;
    Kind kind_;
    bool symbolAfter_ = false;
    bool hovered_ = false;
};

} // namespace mirelo
