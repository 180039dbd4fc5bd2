#pragma once

#include "core/main_view_model.h"
#include "store/component_database.h"
#include "store/settings.h"

#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace ui {

class ComponentCompleter;

/// The calculator window: a thin binding of core::MainViewModel and the component store.
/// Focus handlers run when the focus moves between this window's own controls only.
class frmEOS1Main : public QWidget {
    Q_OBJECT
public:
    // The client area in twips.
    static constexpr int kClientWidth = 9648;
    static constexpr int kClientHeight = 7236;

    /// The window with its controls; call Form_Load before showing it.
    explicit frmEOS1Main(QWidget* parent = nullptr);
    ~frmEOS1Main() override;

    /// Sets up the controls and opens the component store (settings and default path given
    /// so tests can use their own).
    void Form_Load(store::Settings& settings, const std::string& defaultDbPath);

    core::MainViewModel& viewModel() { return m_vm; }
    store::ComponentDatabase& database() { return m_db; }

    // Event handlers, one per event.
    void cmdSolve_Click();
    void cmdDataForm_Click();
    void cmdCompList_Click();
    void cmdDiagrams_Click();
    void cmdInstruct1_Click();
    void optEqState_Click(int index);
    void chkStCalc_Click(bool ticked);
    void chkSphMol_Click(bool ticked);
    void cmbComp_GotFocus();
    void cmbComp_LostFocus();

    /// "Copy results": the last solved sheet under its own title to the clipboard, as
    /// tab-separated text and as an HTML table.
    void copyResults();
    /// "Save results as CSV…" once the file is chosen: the last solved sheet under its own
    /// title as UTF-8 CSV; a failure is shown in a message box. True when the file was written.
    bool saveResultsAsCsv(const QString& path);
    /// The menu of the result area; `standard` is the cell's own menu, extended, or null.
    QMenu* resultsMenu(QMenu* standard = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The caption fonts of the design.
    struct DesignFonts {
        DesignFonts();
        QFont sansBoldUl, sansBold, arialBold, arialBoldUl;
    };
    void createControls();
    void createEntries(const DesignFonts& fonts);
    void createTwoPhaseGroup();
    void createButtons();
    void createSheet(const DesignFonts& fonts);
    void connectControls();
    void setTabOrder();
    void onFocusChanged(QWidget* old, QWidget* now);
    void focusMoved(QWidget* now);
    void gotFocus(QWidget* w);
    /// Runs the LostFocus handler of w; false when it rejected the entry.
    bool lostFocus(QWidget* w);
    void applyEffects(const core::Effects& fx);
    /// The message box of a rejected entry, then the focus back into the erased box.
    void showRejection(const core::Effects& fx);
    /// Writes the view model's state into the widgets.
    void refresh();
    void Form_Unload();
    /// Redraws the diagrams window, when it is open, for the current state.
    void updateDiagrams();
    bool rejecting() const { return m_restoreTarget != nullptr; }
    void cmdSaveResults_Click();

    core::MainViewModel m_vm;
    store::ComponentDatabase m_db;
    QPixmap m_background;
    // Where the editor window finds the database: the source this window loaded from.
    std::optional<store::Settings> m_settings;
    std::string m_defaultDbPath;

    QLabel* Label6 = nullptr;
    QComboBox* cmbComp = nullptr;
    ComponentCompleter* m_finder = nullptr;
    QPushButton* cmdSolve = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtTemp = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* txtPress = nullptr;
    QLabel* lblStCond = nullptr;
    QCheckBox* chkStCalc = nullptr;
    QLabel* Label5 = nullptr;
    std::array<QRadioButton*, 2> optEqState{};
    std::array<QFrame*, 4> Lines{};
    QPushButton* cmdCompList = nullptr;
    QPushButton* cmdDataForm = nullptr;
    QPushButton* cmdInstruct1 = nullptr;
    QPushButton* cmdDiagrams = nullptr;
    std::array<QLabel*, 9> lblEOS{};
    QCheckBox* chkSphMol = nullptr;
    std::map<QWidget*, state::CellId> m_cellOf;
    std::array<QLineEdit*, state::kCellCount> m_cells{};
    QFileDialog* CDlgVLE = nullptr;

    // The control of this window that last had the focus, and the box a rejected entry
    // sends the focus back to while its message box is up.
    QPointer<QWidget> m_current;
    QPointer<QWidget> m_restoreTarget;
    bool m_unloaded = false;
};

} // namespace ui
