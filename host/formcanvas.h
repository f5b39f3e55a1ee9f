// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QWidget>

namespace pelidora::host {

// The form's client area: the direct parent of its date boxes, at the size the form file
// gives. It declares a window class with "Thunder" in it, which tells a date box that its
// host shows panels modeless.
class FormCanvas : public QWidget
{
    Q_OBJECT
public:
    static constexpr const char *kWindowClass = "PelidoraThunderForm";
    static constexpr int kGridPx = 8;

    explicit FormCanvas(QWidget *parent = nullptr);

    // The designer's dot grid.
    void setGridVisible(bool visible);
    bool isGridVisible() const { return m_grid; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_grid = false;
};

} // namespace pelidora::host
