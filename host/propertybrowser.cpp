// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "propertybrowser.h"

#include "formhost.h"
#include "systemcolors.h"

#include <pelidora/platform.h>
#include <pelidora/site.h>
#include <pelidora/stdfont.h>
#include <pelidora/ucvPelidora.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace pelidora::host {

namespace {

const QMetaObject &boxMeta()
{
    return ucvPelidora::staticMetaObject;
}

// Icons are drawn at the screen's pixel density, so they stay sharp on a 2x screen.
QPixmap blankIcon(qreal dpr)
{
    QPixmap pixmap(QSize(20, 14) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon swatch(const QColor &color, qreal dpr)
{
    QPixmap pixmap = blankIcon(dpr);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 0, 160));
    painter.setBrush(color);
    painter.drawRect(QRectF(0.5, 0.5, 19, 13));
    return QIcon(pixmap);
}

// "Aa" in the font's face, as a sample beside its description.
QIcon fontSample(const StdFont &font, qreal dpr)
{
    QPixmap pixmap = blankIcon(dpr);
    QPainter painter(&pixmap);
    QFont face = font.font();
    face.setPixelSize(12);
    face.setUnderline(false);
    face.setStrikeOut(false);
    painter.setFont(face);
    painter.setPen(QColor(0, 0, 0, 200));
    painter.drawText(QRect(0, 0, 20, 14), Qt::AlignCenter, QStringLiteral("Aa"));
    return QIcon(pixmap);
}

QString fontText(const StdFont &font)
{
    QStringList parts{font.name(), PropertyBrowser::tr("%1 pt").arg(font.size())};
    if (font.bold())
        parts << PropertyBrowser::tr("bold");
    if (font.italic())
        parts << PropertyBrowser::tr("italic");
    if (font.underline())
        parts << PropertyBrowser::tr("underline");
    if (font.strikeout())
        parts << PropertyBrowser::tr("strikeout");
    return parts.join(QStringLiteral(", "));
}

// The stored value behind a colour property: 0x00BBGGRR or a system colour.
QByteArray valueProperty(const QString &colorProperty)
{
    return colorProperty.toLatin1() + "Value";
}

// A value as the browser shows it.
QString valueText(const QVariant &value)
{
    if (value.metaType().id() == qMetaTypeId<StdFont>())
        return fontText(value.value<StdFont>());
    if (value.metaType().id() == QMetaType::QColor)
        return value.value<QColor>().name().toUpper();
    if (value.metaType().id() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate().toString(Qt::ISODate);
    if (value.metaType().flags() & QMetaType::IsEnumeration)
        return QString::number(value.toInt());
    return value.toString();
}

// The value entered and the one the box kept, each in its own type (an enum is read back
// as one, whatever number was written).
bool sameValue(const QVariant &entered, const QVariant &kept)
{
    if (kept.metaType().id() == qMetaTypeId<StdFont>())
        return entered.value<StdFont>() == kept.value<StdFont>();
    if (kept.metaType().id() == QMetaType::QColor)
        return entered.value<QColor>().rgb() == kept.value<QColor>().rgb();
    if (kept.metaType().id() == QMetaType::QString)
        return entered.toString() == kept.toString();
    if (kept.metaType().id() == QMetaType::QDate)
        return entered.toDate() == kept.toDate();
    return entered.toLongLong() == kept.toLongLong();
}

// The locale's short date format with a four-digit year: the box's years span two centuries.
QString fourDigitYearFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QToolButton *pickerButton(QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

} // namespace

PropertyBrowser::PropertyBrowser(QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(this))
    , m_rows(new QWidget)
    , m_grid(new QGridLayout(m_rows))
    , m_formRows(new QWidget)
    , m_name(new QLineEdit(m_rows))
    , m_caption(new QLineEdit(m_formRows))
    , m_width(new QSpinBox(m_formRows))
    , m_height(new QSpinBox(m_formRows))
    , m_help(new QLabel(this))
    , m_colorPicker([](const QColor &current, const QString &property, QWidget *parent) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(current, parent, property);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    })
    , m_fontPicker([](const QFont &current, QWidget *parent) -> std::optional<QFont> {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, current, parent, QStringLiteral("Font"));
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    })
{
    setObjectName(QStringLiteral("propertyBrowser"));
    m_title->setObjectName(QStringLiteral("propertyTitle"));
    m_title->setTextFormat(Qt::PlainText);
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(10);
    m_grid->setColumnStretch(1, 1);

    addRow(m_grid, QStringLiteral("(Name)"), m_name, tr("The name a program and the form file use for this date box."));
    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        if (m_box && m_name->text() != m_box->objectName())
            Q_EMIT renameRequested(m_box, m_name->text());
    });

    const QMetaObject &meta = boxMeta();
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        const QString name = QString::fromLatin1(property.name());
        // The box's interface as a form control: what has a dispatch id. Qt Designer's
        // choice (DESIGNABLE) leaves out the font object and the date text a form stores.
        if (meta.indexOfClassInfo(qPrintable(QStringLiteral("DispId:") + name)) < 0 || !property.isWritable())
            continue;
        QWidget *editor = createEditor(property);
        addRow(m_grid, name, editor, helpString(name));
        m_properties << Row{property, editor};
    }
    createFormRows();

    auto *pages = new QWidget;
    auto *pagesLayout = new QVBoxLayout(pages);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    pagesLayout->addWidget(m_rows);
    pagesLayout->addWidget(m_formRows);
    pagesLayout->addStretch(1);
    auto *scroll = new QScrollArea(this);
    scroll->setWidget(pages);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    m_help->setObjectName(QStringLiteral("propertyHelp"));
    m_help->setWordWrap(true);
    m_help->setTextFormat(Qt::RichText);
    m_help->setFrameShape(QFrame::StyledPanel);
    m_help->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_help->setMargin(6);
    m_help->setMinimumHeight(m_help->fontMetrics().lineSpacing() * 4 + 12);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_help);

    setTarget(nullptr);
}

// A label, the editor, and below the editor the note about the last write (hidden while
// there is nothing to say).
void PropertyBrowser::addRow(QGridLayout *grid, const QString &name, QWidget *editor, const QString &help)
{
    const int row = grid->rowCount();
    auto *label = new QLabel(name, editor->parentWidget());
    label->setToolTip(help);
    editor->setObjectName(QStringLiteral("edit_") + (name == QLatin1String("(Name)") ? QStringLiteral("Name") : name));
    editor->setToolTip(help);
    editor->installEventFilter(this);
    m_editorProperty.insert(editor, name);
    grid->addWidget(label, row, 0);
    grid->addWidget(editor, row, 1);

    auto *note = new QLabel(editor->parentWidget());
    note->setObjectName(QStringLiteral("note_") + name);
    note->setWordWrap(true);
    note->setTextFormat(Qt::PlainText);
    QPalette palette = note->palette();
    palette.setColor(QPalette::WindowText, QColor(0xA0, 0x30, 0x00));
    note->setPalette(palette);
    note->hide();
    grid->addWidget(note, row + 1, 1);
    m_notes.insert(name, note);
}

void PropertyBrowser::createFormRows()
{
    auto *grid = new QGridLayout(m_formRows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setColumnStretch(1, 1);
    const QList<std::pair<QString, QString>> help{
        {QStringLiteral("Caption"), tr("The text in the form's title bar.")},
        {QStringLiteral("Width"), tr("The width of the form, in pixels.")},
        {QStringLiteral("Height"), tr("The height of the form, in pixels.")},
    };
    const QList<QWidget *> editors{m_caption, m_width, m_height};
    for (qsizetype i = 0; i < help.size(); ++i) {
        addRow(grid, help[i].first, editors[i], help[i].second);
        m_formEditors.insert(help[i].first, editors[i]);
        m_ownHelp.insert(help[i].first, help[i].second);
    }
    m_ownHelp.insert(QStringLiteral("(Name)"), m_name->toolTip());

    connect(m_caption, &QLineEdit::editingFinished, this, [this] {
        if (m_form && m_caption->isModified()) {
            m_caption->setModified(false);
            Q_EMIT formPropertyEdited(QStringLiteral("Caption"), m_caption->text());
        }
    });
    for (QSpinBox *spin : {m_width, m_height}) {
        spin->setRange(1, 16777215); // what a form file holds
        spin->setSuffix(tr(" px"));
        spin->setKeyboardTracking(false);
        const QString name = spin == m_width ? QStringLiteral("Width") : QStringLiteral("Height");
        connect(spin, &QSpinBox::valueChanged, this, [this, name](int value) {
            if (m_form)
                Q_EMIT formPropertyEdited(name, value);
        });
    }
}

QWidget *PropertyBrowser::createEditor(const QMetaProperty &property)
{
    const QString name = QString::fromLatin1(property.name());
    if (property.isEnumType()) {
        auto *combo = new QComboBox(m_rows);
        const QMetaEnum values = property.enumerator();
        for (int k = 0; k < values.keyCount(); ++k)
            combo->addItem(enumDisplayName(QString::fromLatin1(values.key(k))), values.value(k));
        connect(combo, &QComboBox::activated, this,
                [this, combo, name](int index) { writeProperty(name, combo->itemData(index)); });
        return combo;
    }
    const int type = property.metaType().id();
    if (type == QMetaType::QColor) {
        QToolButton *button = pickerButton(m_rows);
        connect(button, &QToolButton::clicked, this, [this, name] { pickColor(name); });
        button->setPopupMode(QToolButton::MenuButtonPopup); // the arrow offers the system colours
        button->setMenu(systemColorMenu(name, button));
        return button;
    }
    if (type == qMetaTypeId<StdFont>()) {
        QToolButton *button = pickerButton(m_rows);
        connect(button, &QToolButton::clicked, this, [this, name] { pickFont(name); });
        return button;
    }
    if (type == QMetaType::Bool) {
        auto *check = new QCheckBox(m_rows);
        connect(check, &QCheckBox::clicked, this, [this, name](bool checked) { writeProperty(name, checked); });
        return check;
    }
    if (type == QMetaType::QString) {
        auto *edit = new QLineEdit(m_rows);
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, name] {
            // Also sent when the focus leaves an unchanged field.
            if (m_box && edit->isModified()) {
                edit->setModified(false);
                writeProperty(name, edit->text());
            }
        });
        return edit;
    }
    if (type == QMetaType::QDate) {
        auto *edit = new QDateEdit(m_rows);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(fourDigitYearFormat());
        edit->setDateRange(QDate(1900, 1, 1), QDate(2100, 12, 31)); // the box's limits
        edit->setKeyboardTracking(false);                           // one write per date entered, not per digit
        connect(edit, &QDateEdit::dateChanged, this, [this, name](QDate date) { writeProperty(name, date); });
        return edit;
    }
    if (type == QMetaType::Short || type == QMetaType::Int) {
        auto *spin = new QSpinBox(m_rows);
        spin->setKeyboardTracking(false);
        if (type == QMetaType::Short)
            spin->setRange(std::numeric_limits<short>::min(), std::numeric_limits<short>::max());
        else
            spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        connect(spin, &QSpinBox::valueChanged, this, [this, name](int value) { writeProperty(name, value); });
        return spin;
    }
    auto *label = new QLabel(m_rows);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void PropertyBrowser::setTarget(ucvPelidora *box)
{
    m_box = box;
    m_rows->setVisible(box || !m_form);
    m_rows->setEnabled(box != nullptr);
    m_formRows->setVisible(!box && m_form);
    clearNotes();
    refresh();
    showHelp({});
}

ucvPelidora *PropertyBrowser::target() const
{
    return m_box;
}

void PropertyBrowser::setForm(const FormHost *form)
{
    m_form = form;
    setTarget(m_box);
}

QStringList PropertyBrowser::propertyNames() const
{
    QStringList names;
    for (const Row &row : m_properties)
        names << QString::fromLatin1(row.property.name());
    return names;
}

QWidget *PropertyBrowser::editor(const QString &name) const
{
    for (const Row &row : m_properties) {
        if (QLatin1String(row.property.name()) == name)
            return row.editor;
    }
    return m_formEditors.value(name);
}

QWidget *PropertyBrowser::nameEditor() const
{
    return m_name;
}

QString PropertyBrowser::note(const QString &name) const
{
    const QLabel *label = m_notes.value(name);
    return label && !label->isHidden() ? label->text() : QString();
}

void PropertyBrowser::clearNotes()
{
    for (QLabel *label : std::as_const(m_notes)) {
        label->clear();
        label->hide();
    }
}

bool PropertyBrowser::writeProperty(const QString &name, const QVariant &value)
{
    if (!m_box)
        return false;
    const int index = boxMeta().indexOfProperty(name.toLatin1().constData());
    if (index < 0)
        return false;
    clearNotes();
    const QMetaProperty property = boxMeta().property(index);
    // A font goes in as the object itself, which the box may clamp in place.
    const QString entered = valueText(value);
    const QVariant enteredValue =
        value.metaType().id() == qMetaTypeId<StdFont>() ? QVariant::fromValue(value.value<StdFont>().clone()) : value;
    // A write through Qt's meta-object is refused without an exception, told by the site.
    QString problem;
    const QMetaObject::Connection refused = connect(
        m_box->site(), &Site::writeRefused, this, [&problem](const QString &, int number, const QString &description) {
            problem = PropertyBrowser::tr("Not set. Run-time error %1: %2").arg(number).arg(description);
        });
    if (!property.write(m_box, value))
        problem = tr("Not set: \"%1\" is not a valid value.").arg(entered);
    disconnect(refused);
    // The box may keep another value than the one entered: a clamped font, a date that
    // does not exist.
    QString said = problem;
    if (problem.isEmpty() && m_box) {
        const QVariant kept = property.read(m_box);
        if (!sameValue(enteredValue, kept))
            said = tr("Read back as %1 (entered: %2).").arg(valueText(kept), entered);
    }
    if (QLabel *label = m_notes.value(name); label && !said.isEmpty()) {
        label->setText(said);
        label->show();
    }
    refresh();
    return problem.isEmpty();
}

void PropertyBrowser::refresh()
{
    {
        const QSignalBlocker blocker(m_name);
        m_name->setText(m_box ? m_box->objectName() : QString());
    }
    showTitle();
    for (const Row &row : std::as_const(m_properties))
        showValue(row);
    if (m_form) {
        const QSignalBlocker caption(m_caption), width(m_width), height(m_height);
        // A committed caption leaves the field nothing of its own to undo: Ctrl+Z there then
        // reaches the form's steps, as in the name field. The cursor stays where it was.
        if (m_caption->text() != m_form->caption() || m_caption->isUndoAvailable() || m_caption->isRedoAvailable()) {
            const int cursor = m_caption->cursorPosition();
            m_caption->setText(m_form->caption());
            m_caption->setCursorPosition(cursor);
        }
        m_caption->setModified(false);
        m_width->setValue(m_form->formSize().width());
        m_height->setValue(m_form->formSize().height());
    }
}

void PropertyBrowser::showTitle()
{
    if (m_box)
        m_title->setText(QStringLiteral("%1  (%2)").arg(m_box->objectName(), QLatin1String("ucvPelidora")));
    else if (m_form)
        m_title->setText(tr("Form  (click a date box to see its properties)"));
    else
        m_title->setText(tr("No date box selected"));
}

void PropertyBrowser::showValue(const Row &row)
{
    const QSignalBlocker blocker(row.editor);
    const QVariant value = m_box ? row.property.read(m_box) : QVariant();
    if (auto *combo = qobject_cast<QComboBox *>(row.editor)) {
        combo->setCurrentIndex(m_box ? combo->findData(value.toInt()) : -1);
    } else if (auto *check = qobject_cast<QCheckBox *>(row.editor)) {
        check->setChecked(value.toBool());
    } else if (auto *edit = qobject_cast<QLineEdit *>(row.editor)) {
        edit->setText(value.toString());
        edit->setModified(false);
    } else if (auto *spin = qobject_cast<QSpinBox *>(row.editor)) {
        spin->setValue(value.toInt());
    } else if (auto *dateEdit = qobject_cast<QDateEdit *>(row.editor)) {
        if (m_box)
            dateEdit->setDate(value.toDate());
    } else if (auto *button = qobject_cast<QToolButton *>(row.editor)) {
        if (!m_box) {
            button->setText(QString());
            button->setIcon(QIcon());
        } else if (value.metaType().id() == QMetaType::QColor) {
            const QColor color = value.value<QColor>();
            button->setIcon(swatch(color, devicePixelRatioF()));
            const QByteArray stored = valueProperty(QLatin1String(row.property.name()));
            const QString system = systemColorName(m_box->property(stored.constData()).toUInt());
            button->setText(system.isEmpty() ? color.name().toUpper() : system);
        } else if (value.canConvert<StdFont>()) {
            button->setIcon(fontSample(value.value<StdFont>(), devicePixelRatioF()));
            button->setText(fontText(value.value<StdFont>()));
        }
    } else if (auto *label = qobject_cast<QLabel *>(row.editor)) {
        label->setText(value.toString());
    }
}

void PropertyBrowser::pickColor(const QString &name)
{
    if (!m_box)
        return;
    const QColor current = m_box->property(name.toLatin1().constData()).value<QColor>();
    if (const std::optional<QColor> chosen = m_colorPicker(current, name, this))
        writeProperty(name, *chosen);
}

QMenu *PropertyBrowser::systemColorMenu(const QString &name, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("systemColors_") + name);
    const QByteArray stored = valueProperty(name);
    for (const quint32 value : systemColors()) {
        QAction *action = menu->addAction(systemColorName(value));
        action->setCheckable(true);
        action->setData(value);
        connect(action, &QAction::triggered, this,
                [this, stored, value] { writeProperty(QString::fromLatin1(stored), QVariant::fromValue(value)); });
    }
    // The swatches at each showing: system colours follow the desktop's palette.
    connect(menu, &QMenu::aboutToShow, this, [this, menu, stored] {
        const QVariant current = m_box ? m_box->property(stored.constData()) : QVariant();
        for (QAction *action : menu->actions()) {
            action->setChecked(current.isValid() && action->data().toUInt() == current.toUInt());
            action->setIcon(swatch(colorOfValue(action->data().toUInt()), menu->devicePixelRatio()));
        }
    });
    return menu;
}

void PropertyBrowser::pickFont(const QString &name)
{
    if (!m_box)
        return;
    const StdFont current = m_box->property(name.toLatin1().constData()).value<StdFont>();
    // A new font object: the box's own object may be shared with what was saved or read.
    if (const std::optional<QFont> chosen = m_fontPicker(current.font(), this))
        writeProperty(name, QVariant::fromValue(StdFont(*chosen)));
}

QString PropertyBrowser::enumDisplayName(const QString &key)
{
    if (key == QLatin1String("ThreeD"))
        return QStringLiteral("3D");
    return key;
}

QString PropertyBrowser::helpString(const QString &property)
{
    const QMetaObject &meta = boxMeta();
    const int index = meta.indexOfClassInfo(QString(QLatin1String("Help:") + property).toLatin1().constData());
    return index < 0 ? QString() : QString::fromUtf8(meta.classInfo(index).value());
}

void PropertyBrowser::showHelp(const QString &property)
{
    if (property.isEmpty()) {
        m_help->setText(m_box || m_form ? tr("Select a property to see what it does.") : QString());
        return;
    }
    const QString help = m_ownHelp.value(property, helpString(property));
    m_help->setText(QStringLiteral("<b>%1</b><br>%2").arg(property.toHtmlEscaped(), help.toHtmlEscaped()));
}

bool PropertyBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        // A field with nothing of its own to undo (it shows what it last committed, such as
        // a new name) leaves Undo and Redo to the form's steps.
        const auto *edit = qobject_cast<QLineEdit *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (edit
            && ((key->matches(QKeySequence::Undo) && !edit->isUndoAvailable())
                || (key->matches(QKeySequence::Redo) && !edit->isRedoAvailable()))) {
            event->ignore();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        const auto it = m_editorProperty.constFind(watched);
        if (it != m_editorProperty.constEnd())
            showHelp(*it);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pelidora::host
