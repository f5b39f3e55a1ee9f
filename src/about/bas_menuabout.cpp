#include "about/bas_menuabout.h"

namespace pelidora {

void ShowAbout(QWidget *, const QString &, qint32, bool, const QPixmap *)
{
}

void UnloadAbout()
{
}

} // namespace pelidora
