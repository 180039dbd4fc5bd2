#pragma once

#include "plots/diagram.h"
#include "plots/diagram_input.h"
#include "plots/diagram_units.h"
#include "store/settings.h"
#include "ui/diagram_plot.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
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
class TeachingTab;

/// The diagrams of the state: P-V isotherms, Z-P and vapour pressure of the nine models, and
/// the analysis table. A thin binding of plots::computeDiagrams; the main window feeds it.
class frmDiagrams : public QWidget {
    Q_OBJECT
public:
    enum class Tab { PV, ZP, PT, Table, Teaching };

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
    TeachingTab* teaching() const { return m_teaching; }
    /// The diagrams as shown, in the chosen units.
    const plots::Diagrams& diagrams() const { return m_diagrams; }
    /// The units chosen for the axes, the read-out, the table and the exports; kept in the
    /// settings.
    const plots::DiagramUnits& units() const { return m_units; }
    void setUnits(const plots::DiagramUnits& units);
    bool modelVisible(state::Row model) const { return m_visible[static_cast<std::size_t>(model)]; }
    void setModelVisible(state::Row model, bool visible);

    /// Writes a diagram as a PNG, SVG or PDF file by the path's suffix; false, with the reason
    /// in `why`, when it could not (another suffix, or the file system's refusal).
    bool exportImage(const QString& path, Tab tab, QString* why = nullptr);
    /// Writes a diagram's curves, or the table, as CSV; false, with the reason in `why`, when
    /// the file could not be written.
    bool exportCsv(const QString& path, Tab tab, QString* why = nullptr);
    /// The current diagram as an image on the clipboard, or the table as text.
    void copyToClipboard();

    /// What asks for the path to save to: (caption, suggested path, filters, chosen filter in
    /// and out) -> path, "" when cancelled. A file dialog unless replaced.
    using SaveDialog = std::function<QString(const QString& caption, const QString& suggested,
                                             const QString& filters, QString* chosenFilter)>;
    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
    /// The read-out line under the diagrams: pointer coordinates or the usage hints.
    QString readoutText() const;

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
    void createTabs();     // the diagrams, the table and the teaching tab
    void createButtons();  // the note, the read-out and the buttons under the tabs
    void layOutControls(); // also creates the reference and units bars
    void connectButtons();
    void showInUnits();
    void fillTable();
    void replotShown();
    Tab currentTab() const;
    /// The table of the models and, for a component with one, the reference's below it.
    std::string tableText(char separator) const;
    /// A file dialog for saving, starting in the remembered folder with a file named for the
    /// state and tab; "" when cancelled, else the path with the chosen filter's suffix when
    /// none was typed. `chosen`: the filter chosen, the first one offered.
    QString askSavePath(const QString& caption, const QStringList& filters, QString* chosen);
    /// Remembers the folder of a file just written.
    void rememberFolder(const QString& path);
    void showHints();

    std::array<DiagramPlot*, 3> m_plots{};
    QTabWidget* tabDiagrams = nullptr;
    QTableWidget* grdAnalysis = nullptr;
    TeachingTab* m_teaching = nullptr;
    QLabel* lblNote = nullptr;
    QLabel* lblReadout = nullptr;
    QCheckBox* chkLogP = nullptr;
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
    std::string m_component;
    SaveDialog m_saveDialog;
};

} // namespace ui
