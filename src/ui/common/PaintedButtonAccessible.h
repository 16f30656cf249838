#pragma once
// An item a widget paints itself (a card, a thumbnail) as assistive
// technologies see it: a button without children, pressed through its one
// action. Subclasses say whether it still exists, its words, where it is,
// its state and what pressing it does.

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPointer>
#include <QWidget>

namespace mirelo {

class PaintedButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PaintedButtonAccessible(QWidget* owner, int index) : owner_(owner), index_(index) {}

    int index() const { return index_; }

    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return owner_ ? QAccessible::queryAccessibleInterface(owner_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::Button; }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid()) press();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

protected:
    virtual void press() = 0;
    QWidget* owner() const { return owner_.data(); }

private:
    QPointer<QWidget> owner_;
    int index_;
};

} // namespace mirelo
