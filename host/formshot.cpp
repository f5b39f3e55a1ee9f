// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#include "formshot.h"

#include <pelidora/ucvPelidora.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace pelidora::host {

namespace {

QList<QWidget *> openWindowsOf(QWidget *widget)
{
    QList<ucvPelidora *> boxes = widget->findChildren<ucvPelidora *>();
    if (auto *box = qobject_cast<ucvPelidora *>(widget))
        boxes.prepend(box);
    QList<QWidget *> windows;
    for (ucvPelidora *box : std::as_const(boxes)) {
        const auto children = box->findChildren<QWidget *>();
        for (QWidget *child : children) {
            if (child->isWindow() && child->isVisible())
                windows << child;
        }
    }
    return windows;
}

} // namespace

QImage renderWithPanels(QWidget *widget)
{
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    const QPixmap base = widget->grab();
    const qreal dpr = base.devicePixelRatio();

    struct Layer {
        QPixmap pixmap;
        QPoint at;
    };
    QList<Layer> layers{{base, QPoint(0, 0)}};
    QRect bounds = widget->rect();
    for (QWidget *window : openWindowsOf(widget)) {
        const QPoint at = window->geometry().topLeft() - origin;
        layers << Layer{window->grab(), at};
        bounds |= QRect(at, window->size());
    }

    QImage image((bounds.size() * dpr), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (const Layer &layer : std::as_const(layers))
        painter.drawPixmap(layer.at - bounds.topLeft(), layer.pixmap);
    painter.end();
    return image;
}

QWidget *panelOf(ucvPelidora *box)
{
    const auto children = box->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child->isWindow() && child->objectName() == QLatin1String("window"))
            return child;
    }
    return nullptr;
}

bool openPanel(ucvPelidora *box, const std::function<void()> &whileOpen)
{
    bool done = false;
    bool shown = false;
    auto runOnce = [&] {
        if (done)
            return;
        done = true;
        const QWidget *panel = panelOf(box);
        shown = panel && panel->isVisible();
        if (whileOpen)
            whileOpen();
    };
    QWidget *button = box->findChild<QWidget *>(QStringLiteral("imgCombo"));
    if (!button) {
        runOnce();
        return false;
    }
    // A modal panel keeps the release inside its own event loop; this timer fires in that
    // loop, and hiding the panel ends it.
    QTimer modal;
    modal.setSingleShot(true);
    modal.setInterval(0);
    QObject::connect(&modal, &QTimer::timeout, [&] {
        QWidget *panel = panelOf(box);
        if (!panel || !panel->isVisible())
            return;
        runOnce();
        panel->hide();
    });

    const QPointF inside = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(inside);
    QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &press);
    modal.start();
    QCoreApplication::sendEvent(button, &release);
    modal.stop();
    runOnce();
    return shown;
}

} // namespace pelidora::host
