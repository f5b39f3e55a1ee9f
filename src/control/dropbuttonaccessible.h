#pragma once

// The drop button as assistive technology sees it: a button named "Open calendar" whose
// press is a click on it. It never takes the keyboard focus.

#include <QAccessibleWidget>

namespace pelidora {

class DropButton;

class DropButtonAccessible : public QAccessibleWidget
{
public:
    explicit DropButtonAccessible(DropButton *button);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    // Press: the button pressed and released over itself, which opens the panel, or
    // closes it when it is open.
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;
};

} // namespace pelidora
