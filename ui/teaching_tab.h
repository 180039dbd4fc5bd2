#pragma once

#include "plots/diagram_input.h"
#include "plots/teaching.h"

#include <QWidget>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QCustomPlot;
class QLabel;
class QPushButton;
class QSlider;

namespace ui {

/// The two-phase region for teaching: every model's dome and spinodal, Maxwell's equal areas,
/// families of isotherms and vapour-pressure curves, with a temperature slider (arrow keys
/// move it too) that redraws live. A thin binding of plots::teachingScene. The slider never
/// solves anything on the main window: the state is only read.
class TeachingTab : public QWidget {
    Q_OBJECT
public:
    explicit TeachingTab(QWidget* parent = nullptr);
    ~TeachingTab() override;

    /// The component and state of the diagrams window. The envelopes are formed again only when
    /// the component's constants change (which also drops a reference envelope), and only once
    /// the tab is shown.
    void showInput(const plots::DiagramInput& input);
    /// A reference equation of state's envelope for the current component, drawn in black;
    /// std::nullopt removes it. By default the shipped one of the component, where it has one.
    void setReference(std::optional<plots::ReferenceEnvelope> reference);

    QCustomPlot* plot() const { return m_plot; }
    QSlider* slider() const { return sldTeachT; }
    const plots::TeachingScene& scene() const { return m_scene; }
    const plots::TeachingOptions& options() const { return m_options; }
    void setView(plots::TeachingView view);
    void setModel(state::Row model);

    /// Writes the diagram (PNG, SVG or PDF by suffix); false on failure.
    bool saveImage(const QString& path);
    QImage image();
    /// The drawn curves as CSV (plots::diagramCsv).
    std::string csv() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void createOptionControls(); // the view, model and axis choices
    void createSlider();         // the temperature slider, its value and the caption
    void createPlot();
    void layOutControls();
    void connectControls();
    void optionsChanged();
    void sliderMoved(int value);
    void cmdTeachToState_Click();
    /// Forms the envelopes if the component changed, computes the scene and draws it; the axes
    /// go back to the scene's window when `resetAxes`.
    void refresh(bool resetAxes);
    void draw(bool resetAxes);
    void drawLegend(); // the models drawn, then what each line style means
    void drawFills();
    void drawCurves();
    void drawMarkers();
    void drawLabels();
    void toggleModel(int row);

    static constexpr const char* kModelKey = "model"; // row + 1 on a model's legend entry

    QComboBox* cmbTeachView = nullptr;
    QComboBox* cmbTeachModel = nullptr;
    QCheckBox* chkTeachAll = nullptr;
    QCheckBox* chkTeachReduced = nullptr;
    QCheckBox* chkTeachLogV = nullptr;
    QCheckBox* chkTeachLogP = nullptr;
    QCheckBox* chkTeachIsotherms = nullptr;
    QCheckBox* chkTeachState = nullptr;
    QSlider* sldTeachT = nullptr;
    QLabel* lblTeachT = nullptr;
    QPushButton* cmdTeachToState = nullptr;
    QLabel* lblTeachCaption = nullptr;
    QCustomPlot* m_plot = nullptr;

    plots::TeachingOptions m_options;
    plots::TeachingScene m_scene;
    std::optional<plots::TeachingData> m_data;
    std::optional<analysis::Fluid> m_fluid; // the component the data must be formed for
    std::optional<plots::ReferenceEnvelope> m_reference;
    std::string m_component;
    bool m_referencePending = false; // the shipped reference is looked up with the envelopes
    double m_stateT_K = 0, m_stateP_bar = 0;
    bool m_dirty = false;
};

} // namespace ui
