// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// What the pelidora-host tests share: the demo form, in-process runs of the command line,
// and form files written on the spot. Only the tst_host* tests, built with the host's
// library and PELIDORA_SOURCE_DIR, include this.

#include "runhost.h"
#include "support/filehelpers.h"
#include "support/formhelpers.h"
#include "support/testsupport.h"

#include <pelidora/site.h>
#include <pelidora/ucvPelidora.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace pelidora::test {

inline QString demoPath()
{
    return QStringLiteral(PELIDORA_SOURCE_DIR "/examples/demo.json");
}

struct HostRun {
    int code;
    QString out;
    QString err;
};

inline HostRun runHost(const QStringList &args)
{
    HostRun run{0, {}, {}};
    QTextStream out(&run.out), err(&run.err);
    run.code = host::runHost(args, out, err);
    out.flush();
    err.flush();
    return run;
}

// A form file holding one box named "a"; properties is the inside of its JSON object.
inline QByteArray oneBoxForm(const QByteArray &properties, const QByteArray &className = "ucvPelidora")
{
    return formJson(controlJson(className, "a", properties, {8, 8}));
}

} // namespace pelidora::test
