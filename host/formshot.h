// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>

#include <functional>

class QWidget;

namespace pelidora {
class ucvPelidora;
}

// Pictures of a form for people who cannot look at the screen: scripts, CI, the README.
namespace pelidora::host {

// The widget as drawn, with every open window of its date boxes (an open month panel)
// drawn at its place relative to the widget. The picture grows to hold a panel that
// reaches past the widget's edge; what lies outside both is transparent.
QImage renderWithPanels(QWidget *widget);

// The box's month panel (its own top-level window), or nullptr.
QWidget *panelOf(ucvPelidora *box);

// Presses and releases the left button on the box's drop button, as a user would, and
// runs whileOpen while the panel shows: after the release when the panel is modeless, or
// inside the panel's own event loop when it is modal, which then ends by hiding the
// panel. whileOpen runs even when no panel opened (a disabled box); the result says
// whether one was showing.
bool openPanel(ucvPelidora *box, const std::function<void()> &whileOpen);

} // namespace pelidora::host
