#pragma once

#include "core/model_details.h"
#include "state/calc_state.h"
#include "store/settings.h"

#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace ui {

/// One model at the diagrams' state in detail: its parameters at T, every real root with its
/// tag and reason, the stable root's properties with units, and why that root is the one.
/// A thin binding of core::modelDetails; the diagrams window opens and feeds it.
class ModelDetailsWindow : public QWidget {
    Q_OBJECT
public:
    /// `settings` remembers the export folder, as the diagrams window does.
    explicit ModelDetailsWindow(std::optional<store::Settings> settings = std::nullopt,
                                QWidget* parent = nullptr);
    ~ModelDetailsWindow() override;

    /// The component's constants at (T in K, P in bar).
    void showState(const state::CalcState& s, double t_K, double p_bar);
    void setModel(state::Row model);
    state::Row model() const { return m_details.model; }
    const core::ModelDetails& details() const { return m_details; }

    /// Writes the shown model's details as CSV; false when the file could not be written.
    bool exportCsv(const QString& path) const;
    /// The shown model's details as tab-separated text on the clipboard.
    void copyToClipboard() const;

    // Event handlers, one per event.
    void cboModel_Changed(int index);
    void cmdCopy_Click();
    void cmdSaveData_Click();

private:
    void createControls();
    void fill();

    QComboBox* cboModel = nullptr;
    QLabel* lblHeading = nullptr;
    QTableWidget* grdRoots = nullptr;
    QTableWidget* grdParameters = nullptr;
    QLabel* lblStable = nullptr;
    QTableWidget* grdProperties = nullptr;
    QPlainTextEdit* txtExplanation = nullptr;
    QLabel* lblReference = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSaveData = nullptr;
    state::CalcState m_state;
    double m_t_K = 0, m_p_bar = 0;
    core::ModelDetails m_details;
    std::optional<store::Settings> m_settings;
};

} // namespace ui
