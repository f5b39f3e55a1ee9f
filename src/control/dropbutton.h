#pragma once

// The date box's drop button (imgCombo): a picture the box drives through its pointer
// events. A class of its own so that assistive technology can know it as a button.

#include <QLabel>

namespace pelidora {

class DropButton : public QLabel
{
    Q_OBJECT

public:
    explicit DropButton(QWidget *parent)
        : QLabel(parent)
    {
    }
};

} // namespace pelidora
