#pragma once

#include "plots/diagram_units.h"

#include <QWidget>

#include <array>

class QComboBox;

namespace ui {

/// The units choice of the diagrams window: one drop-down list per quantity (temperature,
/// pressure, molar volume), each starting with the diagrams' own unit.
class DiagramUnitsBar : public QWidget {
    Q_OBJECT
public:
    explicit DiagramUnitsBar(QWidget* parent = nullptr);

    plots::DiagramUnits units() const;
    /// Shows the units without signalling a change.
    void setUnits(const plots::DiagramUnits& units);
    QComboBox* box(state::Quantity q) const;

signals:
    void unitsChanged();

private:
    std::array<QComboBox*, plots::kDiagramQuantities.size()> m_boxes{};
};

} // namespace ui
