// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

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
class QSpinBox;

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

class FormHost;

// The designer's property browser for one date box, built from the box's meta-object:
// every designable property it declares, an editor by type, the help string as tooltip
// and in the description below. Writes go through the meta-object, as a script's would.
// What the box did with a value is said beside the property: the run-time error it
// raised, or the value it kept when that is not the one entered. With no box selected it
// shows the form's caption and size, and asks for changes to them by formPropertyEdited.
class PropertyBrowser : public QWidget
{
    Q_OBJECT
public:
    // Ask the user for a colour or a font; nullopt when cancelled. Replaceable, so that
    // tests need no modal dialog.
    using ColorPicker =
        std::function<std::optional<QColor>(const QColor &current, const QString &property, QWidget *parent)>;
    using FontPicker = std::function<std::optional<QFont>(const QFont &current, QWidget *parent)>;

    explicit PropertyBrowser(QWidget *parent = nullptr);

    void setTarget(ucvPelidora *box); // nullptr: the form, when there is one
    ucvPelidora *target() const;
    void setForm(const FormHost *form);

    void setColorPicker(ColorPicker picker) { m_colorPicker = std::move(picker); }
    void setFontPicker(FontPicker picker) { m_fontPicker = std::move(picker); }

    // Names of the properties shown, in the order the box declares them.
    QStringList propertyNames() const;
    QWidget *editor(const QString &name) const; // also the form's "Caption", "Width", "Height"
    QWidget *nameEditor() const;
    // What is said beside the property about its last write; empty when nothing.
    QString note(const QString &name) const;

    // False when the box refused the value (as the note beside it says).
    bool writeProperty(const QString &name, const QVariant &value);
    // Every editor shows the current value again.
    void refresh();
    void clearNotes();

    // Enum keys are identifiers; a few read better otherwise.
    static QString enumDisplayName(const QString &key);
    static QString helpString(const QString &property);

Q_SIGNALS:
    void renameRequested(pelidora::ucvPelidora *box, const QString &name);
    // "Caption" (a string), "Width" or "Height" (pixels) edited.
    void formPropertyEdited(const QString &name, const QVariant &value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row {
        QMetaProperty property;
        QWidget *editor = nullptr;
    };

    void addRow(QGridLayout *grid, const QString &name, QWidget *editor, const QString &help);
    QWidget *createEditor(const QMetaProperty &property);
    void createFormRows();
    void showValue(const Row &row);
    void showTitle();
    void showHelp(const QString &property);
    void pickColor(const QString &name);
    // The desktop's system colours, for the colour property name (its stored value).
    QMenu *systemColorMenu(const QString &name, QWidget *parent);
    void pickFont(const QString &name);

    QPointer<ucvPelidora> m_box;
    QPointer<const FormHost> m_form;
    QLabel *m_title;
    QWidget *m_rows; // the box's
    QGridLayout *m_grid;
    QWidget *m_formRows; // the form's
    QLineEdit *m_name;
    QLineEdit *m_caption;
    QSpinBox *m_width;
    QSpinBox *m_height;
    QLabel *m_help;
    QList<Row> m_properties;
    QHash<QString, QWidget *> m_formEditors;
    QHash<QString, QLabel *> m_notes;
    QHash<QObject *, QString> m_editorProperty; // editor -> property, for the description
    QHash<QString, QString> m_ownHelp;          // of the rows that are no box property
    ColorPicker m_colorPicker;
    FontPicker m_fontPicker;
};

} // namespace pelidora::host
