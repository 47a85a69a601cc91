#pragma once

#include "lot/LotPoints.h"

#include <QWidget>

class QComboBox;
class QLineEdit;

// Beneath the chosen point's drops: the legend of their tints, split and join, and leaving
// a drop out with its reason or taking it back. The Points view acts on what is pressed.
class DropCommands : public QWidget
{
    Q_OBJECT
public:
    DropCommands(UiLanguage uiLanguage, QWidget* parent = nullptr);

signals:
    // With the reason typed, if any: a split or a join says why in the record.
    void Split(const QString& reason);
    void Join(const QString& reason);
    // `text` is the free text of Other, empty for the other reasons.
    void Exclude(ExclusionReason reason, const QString& text);
    void Include();

private:
    QComboBox* m_reason;
    QLineEdit* m_reasonText;
};
