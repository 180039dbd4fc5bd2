#pragma once

#include "plots/diagram.h"
#include "plots/diagram_input.h"
#include "plots/diagram_units.h"
#include "store/settings.h"
#include "ui/diagram_plot.h"

#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace core {
class MainViewModel;
}
namespace store {
class ComponentDatabase;
} // namespace store

namespace ui {

class DiagramUnitsBar;
class ModelDetailsWindow;
class ReferenceBar;
class ReferenceTableView;

/// The diagrams of the state: P-V isotherms, Z-P and vapour pressure of the nine models, and
/// the analysis table. A thin binding of plots::computeDiagrams; the main window feeds it.
class frmDiagrams : public QWidget {
    Q_OBJECT
public:
    enum class Tab { PV, ZP, PT, Table };

    /// `settings` remembers the export folder (a copy is kept); without one the folder is not
    /// remembered.
    explicit frmDiagrams(std::optional<store::Settings> settings = std::nullopt,
                         QWidget* parent = nullptr);
    ~frmDiagrams() override;

    /// Draws the main window's state. `sheetCurrent`: the sheet was solved from exactly this
    /// state (core::MainViewModel::sheetCurrent); `solvedBefore`: some solve has happened since
    /// start-up.
    void showState(const core::MainViewModel& vm, store::ComponentDatabase& db,
                   const std::string& component, bool sheetCurrent, bool solvedBefore);
    /// Draws an input as it is.
    void showInput(const plots::DiagramInput& input);

    DiagramPlot* plot(Tab tab) const;
    /// The diagrams as shown, in the chosen units.
    const plots::Diagrams& diagrams() const { return m_diagrams; }
    /// The units chosen for the axes, the read-out, the table and the exports; kept in the
    /// settings.
    const plots::DiagramUnits& units() const { return m_units; }
    void setUnits(const plots::DiagramUnits& units);
    bool modelVisible(state::Row model) const { return m_visible[static_cast<std::size_t>(model)]; }
    void setModelVisible(state::Row model, bool visible);

    /// Writes the current diagram (PNG, SVG or PDF by suffix); false when it could not.
    bool exportImage(const QString& path, Tab tab);
    /// Writes a diagram's curves, or the table, as CSV; false when the file could not be
    /// written.
    bool exportCsv(const QString& path, Tab tab);
    /// The current diagram as an image on the clipboard, or the table as text.
    void copyToClipboard();

    // Event handlers, one per event.
    void cmdSaveImage_Click();
    void cmdSaveData_Click();
    void cmdCopy_Click();
    void cmdDetails_Click();

    /// The model details window, once opened.
    ModelDetailsWindow* detailsWindow() const { return m_details; }
    /// The reference equation of state's bar: measured data and the scorecard.
    ReferenceBar* referenceBar() const { return m_referenceBar; }

private:
    void createControls();
    void showInUnits();
    void fillTable();
    void replotShown();
    Tab currentTab() const;
    /// The table of the models and, for a component with one, the reference's below it.
    std::string tableText(char separator) const;
    /// A file dialog for saving, starting in the remembered folder; "" when cancelled.
    QString askSavePath(const QString& caption, const QString& filters);

    std::array<DiagramPlot*, 3> m_plots{};
    QTabWidget* tabDiagrams = nullptr;
    QTableWidget* grdAnalysis = nullptr;
    QLabel* lblNote = nullptr;
    QLabel* lblReadout = nullptr;
    QPushButton* cmdSaveImage = nullptr;
    QPushButton* cmdSaveData = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdDetails = nullptr;
    ModelDetailsWindow* m_details = nullptr;
    DiagramUnitsBar* m_unitsBar = nullptr;
    ReferenceBar* m_referenceBar = nullptr;
    ReferenceTableView* m_referenceTable = nullptr;
    plots::DiagramInput m_input;
    plots::Diagrams m_computed; // in the diagrams' own units
    plots::Diagrams m_diagrams; // as shown
    plots::DiagramUnits m_units;
    ModelMask m_visible{};
    std::optional<store::Settings> m_settings;
};

} // namespace ui
