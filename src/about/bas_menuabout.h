#pragma once

// Module bas_MenuAbout: showing the About box and opening its links.

#include <QString>

class QPixmap;
class QWidget;

namespace pelidora {

// Shows the About box at once (no auto-close). owner is not used. picture, when given,
// is shown instead of bitmap iconId.
void ShowAbout(QWidget *owner, const QString &comment, qint32 iconId, bool modeless,
               const QPixmap *picture);

// Unloads the shared About form if it is loaded (a date box does this when it goes away).
void UnloadAbout();

} // namespace pelidora
