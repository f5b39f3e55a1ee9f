// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include <pelidora/site.h>

#include <pelidora/runtimeerror.h>

#include <QMetaMethod>

namespace pelidora {

Site::Site(bool userMode, const StdFont &ambientFont, QObject *parent)
    : QObject(parent)
    , m_userMode(userMode)
    , m_ambientFont(ambientFont)
{
}

void Site::PropertyChanged(const QString &name)
{
    Q_EMIT propertyChanged(name);
}

void Site::raiseError(const RuntimeError &error)
{
    throw error;
}

bool Site::refuseWrite(const QString &property, const RuntimeError &error)
{
    Q_EMIT writeRefused(property, error.number(), error.description());
    return isSignalConnected(QMetaMethod::fromSignal(&Site::writeRefused));
}

} // namespace pelidora
