#include <pelidora/site.h>

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

} // namespace pelidora
