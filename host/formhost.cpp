// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "formhost.h"

#include <pelidora/formfile.h>
#include <pelidora/runtimeerror.h>
#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QWidget>

#include <utility>

namespace pelidora::host {

namespace {

// A designed box is a picture of itself: the pointer goes through it to the designer's
// overlay, and none of its fields can take the keyboard focus.
void makeInert(QWidget *box)
{
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    const auto children = box->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (!child->isWindow())
            child->setFocusPolicy(Qt::NoFocus);
    }
}

QString controlPlace(qsizetype index, const QString &name)
{
    return QStringLiteral("controls[%1] (\"%2\")").arg(index).arg(name);
}

PropertyBag storedValues(ucvPelidora *box)
{
    PropertyBag bag;
    box->WriteProperties(bag);
    return bag;
}

} // namespace

FormHost::FormHost(Mode mode, QWidget *canvas, QObject *parent)
    : QObject(parent)
    , m_mode(mode)
    , m_canvas(canvas)
{
    Q_ASSERT(canvas);
}

bool FormHost::sameValues(const PropertyBag &a, const PropertyBag &b)
{
    const QStringList keys = a.keys();
    if (keys.size() != b.keys().size())
        return false;
    for (const QString &key : keys) {
        if (!b.contains(key) || !PropertyBag::sameValue(a.ReadProperty(key), b.ReadProperty(key)))
            return false;
    }
    return true;
}

FormHost::~FormHost()
{
    for (Hosted &hosted : m_hosted)
        release(hosted);
}

void FormHost::load(const QString &path)
{
    const Form form = readForm(path);

    QList<Hosted> loaded;
    auto discard = [&loaded, this] {
        for (Hosted &hosted : loaded)
            release(hosted);
    };
    try {
        for (qsizetype i = 0; i < form.controls.size(); ++i) {
            const FormControl &control = form.controls.at(i);
            if (control.className != QLatin1String(kBoxClass)) {
                throw FormFileError(
                    QStringLiteral("%1: %2.class: \"%3\" is no date box; this host shows %4 only")
                        .arg(path, controlPlace(i, control.name), control.className, QLatin1String(kBoxClass)));
            }
            loaded << createBox(control.name, control.position);
            try {
                loaded.constLast().box->ReadProperties(control.properties);
            } catch (const RuntimeError &error) {
                throw FormFileError(QStringLiteral("%1: %2.properties: run-time error %3: %4")
                                        .arg(path, controlPlace(i, control.name))
                                        .arg(error.number())
                                        .arg(error.description()));
            }
        }
    } catch (...) {
        discard();
        throw;
    }

    for (Hosted &hosted : m_hosted)
        release(hosted);
    m_hosted.clear();
    m_path = path;
    m_caption = form.caption;
    m_size = form.size;
    m_canvas->setFixedSize(m_size);
    for (const Hosted &hosted : std::as_const(loaded))
        adopt(hosted, m_hosted.size());
    // Reading stored properties is no change of the form.
    setModified(false);
    Q_EMIT boxesChanged();
}

void FormHost::save(const QString &path)
{
    Form form;
    form.caption = m_caption;
    form.size = m_size;
    for (const Hosted &hosted : std::as_const(m_hosted)) {
        FormControl control;
        control.className = QLatin1String(kBoxClass);
        control.name = hosted.box->objectName();
        control.position = hosted.box->pos();
        try {
            hosted.box->WriteProperties(control.properties);
        } catch (const RuntimeError &error) {
            throw FormFileError(QStringLiteral("%1: not saved: %2: run-time error %3: %4")
                                    .arg(path, control.name)
                                    .arg(error.number())
                                    .arg(error.description()));
        }
        form.controls << control;
    }
    writeForm(path, form);
    m_path = path;
    setModified(false);
}

ucvPelidora *FormHost::addBox(const QPoint &position)
{
    QString name;
    for (int n = 1; name.isEmpty() || nameTaken(name, nullptr); ++n)
        name = QStringLiteral("%1%2").arg(QLatin1String(kBoxClass)).arg(n);
    Hosted hosted = createBox(name, position);
    hosted.box->InitProperties();
    adopt(hosted, m_hosted.size());
    setModified(true);
    Q_EMIT boxesChanged();
    return hosted.box;
}

FormHost::BoxRecord FormHost::record(ucvPelidora *box) const
{
    for (qsizetype i = 0; i < m_hosted.size(); ++i) {
        if (box && m_hosted.at(i).box == box)
            return BoxRecord{box->objectName(), box->pos(), storedValues(box), i};
    }
    return {};
}

ucvPelidora *FormHost::restoreBox(const BoxRecord &record)
{
    Hosted hosted = createBox(record.name, record.position);
    try {
        hosted.box->ReadProperties(record.properties);
    } catch (...) {
        release(hosted);
        throw;
    }
    adopt(hosted, qBound(qsizetype(0), record.index, m_hosted.size()));
    setModified(true);
    Q_EMIT boxesChanged();
    Q_EMIT boxRestored(hosted.box);
    return hosted.box;
}

void FormHost::removeBox(ucvPelidora *box)
{
    for (qsizetype i = 0; i < m_hosted.size(); ++i) {
        if (m_hosted.at(i).box == box) {
            Hosted hosted = m_hosted.takeAt(i);
            release(hosted);
            setModified(true);
            Q_EMIT boxesChanged();
            return;
        }
    }
}

void FormHost::moveBox(ucvPelidora *box, const QPoint &position)
{
    if (!box || box->pos() == position || !siteOf(box))
        return;
    box->move(position);
    setModified(true);
}

QString FormHost::renameBox(ucvPelidora *box, const QString &name)
{
    const QString problem = nameProblem(box, name);
    const QString trimmed = name.trimmed();
    if (!problem.isEmpty() || trimmed == box->objectName())
        return problem;
    box->setObjectName(trimmed);
    setModified(true);
    Q_EMIT boxesChanged();
    return {};
}

QString FormHost::nameProblem(const ucvPelidora *box, const QString &name) const
{
    if (!siteOf(box))
        return tr("not a box of this form");
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return tr("A date box needs a name.");
    if (nameTaken(trimmed, box))
        return tr("The name \"%1\" is already used on this form (names ignore case).").arg(trimmed);
    return {};
}

void FormHost::setBoxProperties(ucvPelidora *box, const PropertyBag &properties)
{
    Hosted *hosted = hostedOf(box);
    if (!hosted)
        return;
    box->ReadProperties(properties);
    hosted->stored = storedValues(box);
    setModified(true);
}

void FormHost::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    setModified(true);
    Q_EMIT formChanged();
}

void FormHost::setFormSize(const QSize &size)
{
    if (size == m_size || size.isEmpty())
        return;
    m_size = size;
    m_canvas->setFixedSize(m_size);
    setModified(true);
    Q_EMIT formChanged();
}

QList<ucvPelidora *> FormHost::boxes() const
{
    QList<ucvPelidora *> result;
    for (const Hosted &hosted : m_hosted) {
        if (hosted.box)
            result << hosted.box;
    }
    return result;
}

ucvPelidora *FormHost::boxNamed(const QString &name) const
{
    for (const Hosted &hosted : m_hosted) {
        if (hosted.box && hosted.box->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return hosted.box;
    }
    return nullptr;
}

Site *FormHost::siteOf(const ucvPelidora *box) const
{
    for (const Hosted &hosted : m_hosted) {
        if (box && hosted.box == box)
            return hosted.site;
    }
    return nullptr;
}

void FormHost::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

FormHost::Hosted FormHost::createBox(const QString &name, const QPoint &position)
{
    Hosted hosted;
    // Each box gets a font object of its own: a box clamps an oversized font in place.
    hosted.site = new Site(m_mode == Mode::Run, StdFont(m_canvas->font()), this);
    hosted.box = new ucvPelidora(hosted.site, m_canvas);
    hosted.box->setObjectName(name);
    hosted.box->move(position);
    return hosted;
}

void FormHost::adopt(Hosted hosted, qsizetype index)
{
    ucvPelidora *box = hosted.box;
    if (m_mode == Mode::Design) {
        makeInert(box);
        hosted.stored = storedValues(box);
        connect(hosted.site, &Site::propertyChanged, this,
                [this, box](const QString &name) { propertyNotice(box, name); });
    }
    m_hosted.insert(index, hosted);
    // The tab order is the stacking order: the last is drawn on top.
    if (index + 1 < m_hosted.size() && m_hosted.at(index + 1).box)
        box->stackUnder(m_hosted.at(index + 1).box);
    box->show();
}

void FormHost::propertyNotice(ucvPelidora *box, const QString &name)
{
    Hosted *hosted = hostedOf(box);
    if (!hosted)
        return;
    PropertyBag after = storedValues(box);
    if (sameValues(hosted->stored, after))
        return;
    const PropertyBag before = std::exchange(hosted->stored, after);
    setModified(true);
    Q_EMIT boxPropertyChanged(box, name, before, after);
}

FormHost::Hosted *FormHost::hostedOf(const ucvPelidora *box)
{
    for (Hosted &hosted : m_hosted) {
        if (box && hosted.box == box)
            return &hosted;
    }
    return nullptr;
}

void FormHost::release(Hosted &hosted)
{
    if (hosted.box) {
        hosted.box->Terminate();
        delete hosted.box;
    }
    delete hosted.site;
    hosted.site = nullptr;
}

bool FormHost::nameTaken(const QString &name, const ucvPelidora *except) const
{
    for (const Hosted &hosted : m_hosted) {
        if (hosted.box && hosted.box != except && hosted.box->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace pelidora::host
