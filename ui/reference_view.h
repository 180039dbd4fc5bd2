#pragma once

#include "core/reference_comparison.h"
#include "plots/diagram.h"
#include "plots/diagram_input.h"
#include "plots/diagram_units.h"
#include "store/settings.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ui {

class ScorecardWindow;

/// The reference equation of state in the diagrams window: names it (the citation in the
/// tooltip), imports the user's measured points and opens the scorecard. The window passes its
/// freshly computed diagrams through `decorate`, which adds the reference and the points.
class ReferenceBar : public QWidget {
    Q_OBJECT
public:
    explicit ReferenceBar(std::optional<store::Settings> settings, QWidget* parent = nullptr);
    ~ReferenceBar() override;

    /// Adds the reference's curves and table and the measured points to diagrams just computed
    /// for `input`, and names the reference.
    void decorate(plots::Diagrams& diagrams, const plots::DiagramInput& input);
    /// The units of the scorecard's states, as the diagrams'.
    void setUnits(const plots::DiagramUnits& units);

    /// Reads a CSV of measured points for the shown component. Returns what to tell the user:
    /// the rejected rows with their line numbers, or why the file was not read (then the
    /// previous points stay); empty when every row was taken.
    QString importFile(const QString& path);
    const core::MeasuredData& measured() const { return m_data; }

    void openScorecard();
    ScorecardWindow* scorecardWindow() const { return m_scorecard; }

    // Event handlers, one per event.
    void cmdImport_Click();

signals:
    /// New measured points: the diagrams are to be drawn again.
    void dataChanged();

private:
    void parse();
    std::string dataLabel() const;

    QLabel* lblReference = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdScorecard = nullptr;
    ScorecardWindow* m_scorecard = nullptr;
    plots::DiagramInput m_input;
    plots::DiagramUnits m_units;
    QString m_dataName;
    std::string m_dataText;
    core::MeasuredData m_data;
    std::optional<store::Settings> m_settings;
};

/// The Table tab's reference part: the reference's phase, volume, Z and density at the state
/// and each model's deviation, with the equation's citation.
class ReferenceTableView : public QWidget {
    Q_OBJECT
public:
    explicit ReferenceTableView(QWidget* parent = nullptr);
    void show(const std::optional<plots::ReferenceTable>& table, const std::string& component,
              const plots::DiagramUnits& units);

private:
    QLabel* lblCaption = nullptr;
    QTableWidget* grdReference = nullptr;
};

} // namespace ui
