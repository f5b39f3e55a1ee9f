// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/propertybag.h>

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>

class QWidget;

namespace pelidora {
class Site;
class ucvPelidora;
} // namespace pelidora

namespace pelidora::host {

// The container of one form's date boxes: reads a form file, creates each box on the
// canvas with a site of its own and hands it its stored properties, and saves the boxes
// back. In run mode the boxes are live; in design mode they ignore the pointer and the
// keyboard, any change marks the form as modified, and each property change is reported
// with the box's stored values before and after it, so that it can be undone.
class FormHost : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Run, Design };

    // The class name a form file uses for a date box.
    static constexpr const char *kBoxClass = "ucvPelidora";

    // canvas (not owned) becomes the parent of every box.
    FormHost(Mode mode, QWidget *canvas, QObject *parent = nullptr);
    ~FormHost() override; // terminates the boxes it still hosts

    Mode mode() const { return m_mode; }
    QWidget *canvas() const { return m_canvas; }

    // Hosts the boxes of the form file in place of the current ones. Throws FormFileError
    // naming the file and the place; the form on screen and the file are then untouched.
    void load(const QString &path);
    // Writes every box through WriteProperties, atomically. Throws FormFileError.
    void save(const QString &path);

    // A box as the form file keeps it, and where it stands in the tab order.
    struct BoxRecord {
        QString name;
        QPoint position;
        PropertyBag properties;
        qsizetype index = 0;
    };

    // A new date box with its properties at their defaults, under a free name.
    ucvPelidora *addBox(const QPoint &position);
    BoxRecord record(ucvPelidora *box) const;
    // The box of the record, back at its place in the tab order.
    ucvPelidora *restoreBox(const BoxRecord &record);
    void removeBox(ucvPelidora *box);
    void moveBox(ucvPelidora *box, const QPoint &position);
    // Empty when done, else why not (empty name, name taken).
    QString renameBox(ucvPelidora *box, const QString &name);
    // Why the box can't be called name; empty when it can (or already is).
    QString nameProblem(const ucvPelidora *box, const QString &name) const;
    // Same keys with the same values.
    static bool sameValues(const PropertyBag &a, const PropertyBag &b);
    // Gives the box these stored values, as ReadProperties does: no property notice.
    void setBoxProperties(ucvPelidora *box, const PropertyBag &properties);

    QList<ucvPelidora *> boxes() const;
    ucvPelidora *boxNamed(const QString &name) const; // names ignore case, as in the file
    Site *siteOf(const ucvPelidora *box) const;

    QString path() const { return m_path; }
    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QSize formSize() const { return m_size; }
    void setFormSize(const QSize &size); // pixels; the canvas follows

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

Q_SIGNALS:
    void modifiedChanged(bool modified);
    void boxesChanged();                          // added, removed or renamed
    void boxRestored(pelidora::ucvPelidora *box); // back from a record (an undo or redo)
    void formChanged();                           // caption or size
    // A designed box's property notice that changed what it stores; before and after are
    // its stored values.
    void boxPropertyChanged(pelidora::ucvPelidora *box, const QString &name, const pelidora::PropertyBag &before,
                            const pelidora::PropertyBag &after);

private:
    struct Hosted {
        QPointer<ucvPelidora> box;
        Site *site = nullptr;
        PropertyBag stored; // design mode: the values last reported
    };

    Hosted createBox(const QString &name, const QPoint &position);
    void adopt(Hosted hosted, qsizetype index);
    void propertyNotice(ucvPelidora *box, const QString &name);
    Hosted *hostedOf(const ucvPelidora *box);
    void release(Hosted &hosted);
    bool nameTaken(const QString &name, const ucvPelidora *except) const;

    Mode m_mode;
    QPointer<QWidget> m_canvas;
    QList<Hosted> m_hosted; // in tab order, as saved
    QString m_path;
    QString m_caption;
    QSize m_size;
    bool m_modified = false;
};

} // namespace pelidora::host
