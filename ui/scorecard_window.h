#pragma once

#include "core/reference_comparison.h"
#include "plots/diagram_units.h"
#include "plots/reference_diagrams.h"
#include "state/calc_state.h"
#include "store/settings.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ui {

/// Which model for this fluid: each model's average absolute deviation from the reference
/// equation of state over the saturation curve and a single-phase grid, ranked, with its
/// worst state; below, when the user imported points, every model and the reference scored
/// against them. A thin binding of core::scorecard and core::scoreMeasured.
class ScorecardWindow : public QWidget {
    Q_OBJECT
public:
    /// `settings` remembers the export folder, as the diagrams window does.
    explicit ScorecardWindow(std::optional<store::Settings> settings = std::nullopt,
                             QWidget* parent = nullptr);
    ~ScorecardWindow() override;

    /// Scores the component's models (constants and shape factor of `s`). `measured` and its
    /// `dataName`: the user's points, or null.
    void showComponent(const std::string& component, const state::CalcState& s,
                       const core::MeasuredData* measured, const QString& dataName);
    void setUnits(const plots::DiagramUnits& units);

    /// The tables as text: tab-separated, or CSV for ','.
    std::string text(char separator) const;
    /// Writes the tables as CSV; false when the file could not be written.
    bool exportCsv(const QString& path) const;

    // Event handlers, one per event.
    void cmdCopy_Click();
    void cmdSave_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();

    QLabel* lblTitle = nullptr;
    QLabel* lblCitation = nullptr;
    QLabel* lblRange = nullptr;
    QTableWidget* grdScores = nullptr;
    QLabel* lblData = nullptr;
    QTableWidget* grdData = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdClose = nullptr;
    std::string m_component;
    std::optional<core::Scorecard> m_card;
    std::vector<core::DataScore> m_dataScores;
    QString m_dataName;
    plots::DiagramUnits m_units;
    std::optional<store::Settings> m_settings;
};

} // namespace ui
