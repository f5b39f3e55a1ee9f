// SPDX-FileCopyrightText: The Pelidora authors
// SPDX-License-Identifier: MIT

#pragma once

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <QObject>
#include <QPointer>

namespace pelidora::designer {

// The date box as Qt Designer knows it: its widget box entry, the .ui text of a new box, and
// the boxes themselves.
class DateBoxInterface : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit DateBoxInterface(QObject *parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QString domXml() const override;

    // A box on a form being designed stays in design mode: no panel opens, Appearance can
    // be written, a refused write is shown to the user. Elsewhere (Designer's preview,
    // QUiLoader) it is a standalone box, which runs from its first showing.
    QWidget *createWidget(QWidget *parent) override;

    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;

private:
    QPointer<QDesignerFormEditorInterface> m_core; // none outside Designer
    bool m_initialized = false;
};

} // namespace pelidora::designer
