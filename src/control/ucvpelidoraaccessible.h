#pragma once

// The date box as assistive technology sees it: a group named with the held date, holding
// the three fields (named for what they hold, in the order they stand) and the drop button.

#include <QAccessibleWidget>
#include <QList>

namespace pelidora {

class ucvPelidora;
class ucvPelidoraPrivate;

class ucvPelidoraAccessible : public QAccessibleWidget
{
public:
    explicit ucvPelidoraAccessible(ucvPelidora *box);

    // Name: the program's accessible name if it gave one, else the held date in the
    // locale's long form or "No date". Asking never takes the typed fields over.
    QString text(QAccessible::Text t) const override;
    // The fields and the drop button, left to right; the separators are decoration.
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

    // Makes a new box known to assistive technology: the factory for the box's classes.
    static void attach();
    // The held date changed: so did the box's name.
    static void dateChanged(ucvPelidora *box);
    // Names the fields for what they hold in the box's date order; again when the
    // language changes.
    static void nameFields(ucvPelidoraPrivate &d);

private:
    QList<QWidget *> parts() const;
};

} // namespace pelidora
