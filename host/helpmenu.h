// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>

class QAction;
class QMainWindow;

namespace pelidora {
class ucvPelidora;
}

namespace pelidora::host {

class FormHost;

// Help → About Pelidora (F1) in the window's menu bar: the About box, shown by the control's
// own About method on the box chosen() returns, or on the form's first box when it
// returns none. Disabled while the form has no box.
QAction *addHelpMenu(QMainWindow *window, FormHost *host, std::function<ucvPelidora *()> chosen);

} // namespace pelidora::host
