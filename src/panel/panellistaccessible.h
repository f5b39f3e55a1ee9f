#pragma once

// The panel's month and year lists as assistive technology sees them: combo boxes named
// for what they list, whose value is the entry shown. Qt's own combo box takes its name
// from its entry where a label beside it would name it; the panel has no labels.

#include <QAccessibleWidget>

namespace pelidora {

class PanelList;

class PanelListAccessible : public QAccessibleWidget
{
public:
    explicit PanelListAccessible(PanelList *list);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    // The drop-down list of entries.
    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    // Show menu and press open the entries, or close them when open; a locked list has none.
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

private:
    PanelList *list() const;
};

} // namespace pelidora
