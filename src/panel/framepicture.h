// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

// The frame picture behind the month panel's content: a flat frame (pic1D, 3105 x 2910
// twips) or a raised 3D one (pic3D, 3165 x 2970 twips). Drawn, so it is crisp at any
// device pixel ratio.

#include <QWidget>

namespace pelidora {

class FramePicture : public QWidget
{
    Q_OBJECT

public:
    enum class Style { Flat, ThreeD };
    FramePicture(Style style, QWidget *parent);

    Style style() const { return m_style; }
    // Design size in twips.
    int widthTwips() const;
    int heightTwips() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Style m_style;
};

} // namespace pelidora
