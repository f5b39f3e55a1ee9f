#include "propertybrowser.h"

#include <pelidora/platform.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/stdfont.h>
#include <pelidora/ucvPelidora.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QFontDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
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
    QStringList parts{font.name(), QStringLiteral("%1 pt").arg(font.size())};
    if (font.bold())
        parts << QStringLiteral("bold");
    if (font.italic())
        parts << QStringLiteral("italic");
    if (font.underline())
        parts << QStringLiteral("underline");
    if (font.strikeout())
        parts << QStringLiteral("strikeout");
    return parts.join(QStringLiteral(", "));
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
    , m_name(new QLineEdit(m_rows))
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

    auto *nameLabel = new QLabel(QStringLiteral("(Name)"), m_rows);
    const QString nameHelp = QStringLiteral("The name a program and the form file use for this date box.");
    nameLabel->setToolTip(nameHelp);
    m_name->setObjectName(QStringLiteral("edit_Name"));
    m_name->setToolTip(nameHelp);
    m_grid->addWidget(nameLabel, 0, 0);
    m_grid->addWidget(m_name, 0, 1);
    m_name->installEventFilter(this);
    m_editorProperty.insert(m_name, QStringLiteral("(Name)"));
    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        if (m_box && m_name->text() != m_box->objectName())
            Q_EMIT renameRequested(m_box, m_name->text());
    });

    const QMetaObject &meta = boxMeta();
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        if (!property.isDesignable() || !property.isWritable())
            continue;
        const QString name = QString::fromLatin1(property.name());
        const int row = m_grid->rowCount();
        auto *label = new QLabel(name, m_rows);
        label->setToolTip(helpString(name));
        QWidget *editor = createEditor(property);
        editor->setObjectName(QStringLiteral("edit_") + name);
        editor->setToolTip(helpString(name));
        editor->installEventFilter(this);
        m_editorProperty.insert(editor, name);
        m_grid->addWidget(label, row, 0);
        m_grid->addWidget(editor, row, 1);
        m_properties << Row{property, editor};
    }
    m_grid->setRowStretch(m_grid->rowCount(), 1);

    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_rows);
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

QWidget *PropertyBrowser::createEditor(const QMetaProperty &property)
{
    const QString name = QString::fromLatin1(property.name());
    if (property.isEnumType()) {
        auto *combo = new QComboBox(m_rows);
        const QMetaEnum values = property.enumerator();
        for (int k = 0; k < values.keyCount(); ++k)
            combo->addItem(enumDisplayName(QString::fromLatin1(values.key(k))), values.value(k));
        connect(combo, &QComboBox::activated, this, [this, combo, name](int index) {
            writeProperty(name, combo->itemData(index));
        });
        return combo;
    }
    const int type = property.metaType().id();
    if (type == QMetaType::QColor) {
        QToolButton *button = pickerButton(m_rows);
        connect(button, &QToolButton::clicked, this, [this, name] { pickColor(name); });
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
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void PropertyBrowser::setTarget(ucvPelidora *box)
{
    m_box = box;
    m_rows->setEnabled(box != nullptr);
    if (box) {
        m_title->setText(QStringLiteral("%1  (%2)").arg(box->objectName(), QLatin1String("ucvPelidora")));
    } else {
        m_title->setText(QStringLiteral("No date box selected"));
    }
    refresh();
    showHelp({});
}

ucvPelidora *PropertyBrowser::target() const
{
    return m_box;
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
    return nullptr;
}

QWidget *PropertyBrowser::nameEditor() const
{
    return m_name;
}

bool PropertyBrowser::writeProperty(const QString &name, const QVariant &value)
{
    if (!m_box)
        return false;
    const int index = boxMeta().indexOfProperty(name.toLatin1().constData());
    if (index < 0)
        return false;
    const QMetaProperty property = boxMeta().property(index);
    QString problem;
    try {
        if (!property.write(m_box, value))
            problem = QStringLiteral("\"%1\" is not a valid value.").arg(value.toString());
    } catch (const RuntimeError &error) {
        problem = QStringLiteral("Run-time error %1: %2").arg(error.number()).arg(error.description());
    }
    if (!problem.isEmpty()) {
        showMessage(QStringLiteral("Can't set %1.\n\n%2").arg(name, problem), MessageSink::Icon::Critical,
                    QStringLiteral("pelidora-host"));
    }
    // The box may have changed the value on its way in (a clamped font, a corrected date).
    refresh();
    return problem.isEmpty();
}

void PropertyBrowser::refresh()
{
    {
        const QSignalBlocker blocker(m_name);
        m_name->setText(m_box ? m_box->objectName() : QString());
    }
    if (m_box)
        m_title->setText(QStringLiteral("%1  (%2)").arg(m_box->objectName(), QLatin1String("ucvPelidora")));
    for (const Row &row : std::as_const(m_properties))
        showValue(row);
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
    } else if (auto *button = qobject_cast<QToolButton *>(row.editor)) {
        if (!m_box) {
            button->setText(QString());
            button->setIcon(QIcon());
        } else if (value.metaType().id() == QMetaType::QColor) {
            const QColor color = value.value<QColor>();
            button->setIcon(swatch(color, devicePixelRatioF()));
            button->setText(color.name().toUpper());
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
    const int index = meta.indexOfClassInfo(("Help:" + property).toLatin1().constData());
    return index < 0 ? QString() : QString::fromUtf8(meta.classInfo(index).value());
}

void PropertyBrowser::showHelp(const QString &property)
{
    if (property.isEmpty()) {
        m_help->setText(m_box ? QStringLiteral("Select a property to see what it does.") : QString());
        return;
    }
    const QString help = property == QLatin1String("(Name)") ? m_name->toolTip() : helpString(property);
    m_help->setText(QStringLiteral("<b>%1</b><br>%2").arg(property.toHtmlEscaped(), help.toHtmlEscaped()));
}

bool PropertyBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        const auto it = m_editorProperty.constFind(watched);
        if (it != m_editorProperty.constEnd())
            showHelp(*it);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace pelidora::host
