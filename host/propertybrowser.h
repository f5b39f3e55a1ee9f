#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QMetaProperty>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QGridLayout;
class QMenu;

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

// The designer's property browser for one date box, built from the box's meta-object:
// every designable property it declares, an editor by type, the help string as tooltip
// and in the description below. Writes go through the meta-object, as a script's would;
// a run-time error from the box is shown to the user, naming the property.
class PropertyBrowser : public QWidget
{
    Q_OBJECT
public:
    // Ask the user for a colour or a font; nullopt when cancelled. Replaceable, so that
    // tests need no modal dialog.
    using ColorPicker = std::function<std::optional<QColor>(const QColor &current, const QString &property,
                                                            QWidget *parent)>;
    using FontPicker = std::function<std::optional<QFont>(const QFont &current, QWidget *parent)>;

    explicit PropertyBrowser(QWidget *parent = nullptr);

    void setTarget(ucvPelidora *box); // nullptr: nothing selected
    ucvPelidora *target() const;

    void setColorPicker(ColorPicker picker) { m_colorPicker = std::move(picker); }
    void setFontPicker(FontPicker picker) { m_fontPicker = std::move(picker); }

    // Names of the properties shown, in the order the box declares them.
    QStringList propertyNames() const;
    QWidget *editor(const QString &name) const;
    QWidget *nameEditor() const;

    // False when the box refused the value (the user has been told).
    bool writeProperty(const QString &name, const QVariant &value);
    // Every editor shows the box's current value again.
    void refresh();

    // Enum keys are identifiers; a few read better otherwise.
    static QString enumDisplayName(const QString &key);
    static QString helpString(const QString &property);

Q_SIGNALS:
    void renameRequested(pelidora::ucvPelidora *box, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row {
        QMetaProperty property;
        QWidget *editor = nullptr;
    };

    QWidget *createEditor(const QMetaProperty &property);
    void showValue(const Row &row);
    void showHelp(const QString &property);
    void pickColor(const QString &name);
    // The desktop's system colours, for the colour property name (its stored value).
    QMenu *systemColorMenu(const QString &name, QWidget *parent);
    void pickFont(const QString &name);

    QPointer<ucvPelidora> m_box;
    QLabel *m_title;
    QWidget *m_rows;
    QGridLayout *m_grid;
    QLineEdit *m_name;
    QLabel *m_help;
    QList<Row> m_properties;
    QHash<QObject *, QString> m_editorProperty; // editor -> property, for the description
    ColorPicker m_colorPicker;
    FontPicker m_fontPicker;
};

} // namespace pelidora::host
