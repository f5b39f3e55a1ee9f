// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "platformnoise.h"

#include <QRegularExpression>

namespace pelidora::host {

namespace {

struct Noise {
    QLatin1StringView category; // ends with '.': every category under it
    QRegularExpression text;
};

const QList<Noise> &knownNoise()
{
    static const QList<Noise> noise{
        {QLatin1StringView("default"), QRegularExpression(QStringLiteral("^QStandardPaths: XDG_RUNTIME_DIR not set"))},
        // Window management that an offscreen or bare X server lacks; not document opening,
        // fonts or OpenGL, which are the user's business.
        {QLatin1StringView("default"),
         QRegularExpression(QStringLiteral("^This plugin does not support (propagateSizeHints\\(\\)|raise\\(\\)|"
                                           "lower\\(\\)|setParent!|setting window (opacity|masks)|"
                                           "grabbing the (keyboard|mouse)|QCursor::setPos\\(\\))"))},
        {QLatin1StringView("qt.qpa."),
         QRegularExpression(QStringLiteral("(extension (is )?not present on the X server|"
                                           "^X server does not support XInput 2)$"))},
        {QLatin1StringView("qt.qpa."),
         QRegularExpression(QStringLiteral("^Wayland does not support QWindow::requestActivate\\(\\)"))},
    };
    return noise;
}

QtMessageHandler g_next = nullptr;

void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (isPlatformNoise(type, QLatin1StringView(context.category), message))
        return;
    if (g_next)
        g_next(type, context, message);
}

} // namespace

bool isPlatformNoise(QtMsgType type, const QString &category, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        return false;
    for (const Noise &noise : knownNoise()) {
        const bool inCategory =
            noise.category.endsWith(u'.') ? category.startsWith(noise.category) : category == noise.category;
        if (inCategory && noise.text.match(message).hasMatch())
            return true;
    }
    return false;
}

QtMessageHandler installPlatformNoiseFilter()
{
    const QtMessageHandler previous = qInstallMessageHandler(dropPlatformNoise);
    if (previous != dropPlatformNoise) // installed twice: keep the one before
        g_next = previous;
    return g_next;
}

} // namespace pelidora::host
