#include "about/bas_menuabout.h"

namespace pelidora {

void ShowAbout(QWidget *, const QString &, qint32, bool, const QPixmap *)
{
}

} // namespace pelidora
