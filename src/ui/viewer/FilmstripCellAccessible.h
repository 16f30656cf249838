#pragma once
// One thumbnail of the filmstrip for assistive technologies (see
// FilmstripAccessible).

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>

namespace mirelo {

class Filmstrip;

class FilmstripCellAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    FilmstripCellAccessible(Filmstrip* strip, int index) : strip_(strip), index_(index) {}
    int index() const { return index_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<Filmstrip> strip_;
    int index_;
};

} // namespace mirelo
