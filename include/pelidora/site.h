// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <pelidora/global.h>
#include <pelidora/stdfont.h>

#include <QObject>

namespace pelidora {

class RuntimeError;

/** What a host tells one control about its surroundings (the ambient values) and hears
 *  back from it (the property-changed notice). One site per control. */
class PELIDORA_EXPORT Site : public QObject
{
    Q_OBJECT
public:
    /** A site in run mode (@p userMode true) or design mode, with its ambient font. */
    explicit Site(bool userMode, const StdFont &ambientFont = StdFont(), QObject *parent = nullptr);

    bool UserMode() const { return m_userMode; }               /**< true at run time, false while designed */
    void setUserMode(bool userMode) { m_userMode = userMode; } /**< a design window's test run */

    StdFont AmbientFont() const { return m_ambientFont; }              /**< the form's font */
    void setAmbientFont(const StdFont &font) { m_ambientFont = font; } /**< for boxes made later */

    /** Called by the control after every property write, with the persisted name. */
    void PropertyChanged(const QString &name);

    /** Called by the control with the run-time error of a property write, which then changes
     *  nothing. Thrown to the caller here; a host whose callers cannot take exceptions (a
     *  form designer's property editor) tells the user instead. */
    virtual void raiseError(const RuntimeError &error);

    /** Called by the control instead of raiseError when Qt made the refused write
     *  (setProperty, a style sheet's qproperty-, a .ui file, a binding's keyword), where no
     *  exception can pass. Sends writeRefused; answers whether anything is connected to it
     *  (if not, the control warns through the pelidora.control logging category). */
    bool refuseWrite(const QString &property, const RuntimeError &error);

Q_SIGNALS:
    void propertyChanged(const QString &name); /**< sent by PropertyChanged */
    /** Sent by refuseWrite: the write of @p property raised run-time error @p number, with
     *  @p description, and changed nothing. */
    void writeRefused(const QString &property, int number, const QString &description);

private:
    bool m_userMode;
    StdFont m_ambientFont;
};

} // namespace pelidora
