#include <pelidora/ucvPelidora.h>

#include <QTimer>

namespace pelidora {

// The opening sequence of Alt+Down and the drop button.
void ucvPelidora::openPanel()
{
    CheckDate();
    TimerHide->start();
    ShowPanel();
}

// No month panel yet: the watch is stopped again so that nothing keeps ticking.
void ucvPelidora::ShowPanel()
{
    TimerHide->stop();
}

void ucvPelidora::TimerHide_Timer()
{
}

void ucvPelidora::loadPanel()
{
}

void ucvPelidora::hidePanel()
{
}

void ucvPelidora::unloadPanel()
{
}

} // namespace pelidora
