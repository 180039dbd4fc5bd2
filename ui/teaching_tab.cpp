#include "ui/teaching_tab.h"

#include "plots/diagrams.h"
#include "ui/diagram_style.h"
#include "ui/window_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace ui {
namespace {

// The slider in thousandths of the component's critical temperature.
constexpr int kSliderScale = 1000;
constexpr int kSliderMin = 450, kSliderMax = 1300, kSliderStep = 5, kSliderPage = 50;
constexpr double kWheelZoomFactor = 0.85;

bool sameFluid(const analysis::Fluid& a, const analysis::Fluid& b)
{
    return a.tc_K == b.tc_K && a.pc_bar == b.pc_bar && a.vc_cm3mol == b.vc_cm3mol &&
           a.omega == b.omega && a.k1 == b.k1 && a.k2 == b.k2 && a.k3 == b.k3 &&
           a.esdSpherical == b.esdSpherical;
}

} // namespace

TeachingTab::TeachingTab(QWidget* parent) : QWidget(parent)
{
    setObjectName("tabTeaching");
    createControls();
}

TeachingTab::~TeachingTab() = default;

void TeachingTab::createControls()
{
    createOptionControls();
    createSlider();
    createPlot();
    layOutControls();
    connectControls();
    optionsChanged();
}

void TeachingTab::createOptionControls()
{
    cmbTeachView = new QComboBox(this);
    cmbTeachView->setObjectName("cmbTeachView");
    cmbTeachView->addItems(
        {"Domes and spinodals", "Equal areas", "Isotherm family", "Vapour pressure"});
    cmbTeachModel = new QComboBox(this);
    cmbTeachModel->setObjectName("cmbTeachModel");
    for (state::Row row : analysis::kModels)
        cmbTeachModel->addItem(fromStd(std::string(state::rowCaption(row))));
    cmbTeachModel->setCurrentIndex(static_cast<int>(m_options.model));
    cmbTeachModel->setToolTip("The model of the equal areas and of the isotherm family");
    chkTeachAll = new QCheckBox("All models at the slider T", this);
    chkTeachAll->setObjectName("chkTeachAll");
    chkTeachReduced = new QCheckBox("Reduced (P/Pc, V/Vc, T/Tc)", this);
    chkTeachReduced->setObjectName("chkTeachReduced");
    chkTeachReduced->setToolTip("Each model divided by its own critical point");
    chkTeachReduced->setChecked(m_options.reduced);
    chkTeachLogV = new QCheckBox("Log V", this);
    chkTeachLogV->setObjectName("chkTeachLogV");
    chkTeachLogV->setChecked(m_options.logV);
    chkTeachLogP = new QCheckBox("Log P", this);
    chkTeachLogP->setObjectName("chkTeachLogP");
    chkTeachIsotherms = new QCheckBox("Isotherms at the slider T", this);
    chkTeachIsotherms->setObjectName("chkTeachIsotherms");
    chkTeachState = new QCheckBox("State pressure and roots", this);
    chkTeachState->setObjectName("chkTeachState");
    chkTeachState->setToolTip(
        "The state's pressure, and each model's volumes there at the slider temperature");
}

void TeachingTab::createSlider()
{
    sldTeachT = new QSlider(Qt::Horizontal, this);
    sldTeachT->setObjectName("sldTeachT");
    sldTeachT->setRange(kSliderMin, kSliderMax);
    sldTeachT->setSingleStep(kSliderStep);
    sldTeachT->setPageStep(kSliderPage);
    sldTeachT->setValue(static_cast<int>(std::lround(m_options.tr * kSliderScale)));
    sldTeachT->setToolTip("Temperature over the component's critical temperature (arrow keys)");
    lblTeachT = new QLabel(this);
    lblTeachT->setObjectName("lblTeachT");
    lblTeachT->setTextFormat(Qt::PlainText);
    cmdTeachToState = new QPushButton("State T", this);
    cmdTeachToState->setObjectName("cmdTeachToState");
    cmdTeachToState->setToolTip("Move the slider to the state's temperature");
    lblTeachCaption = new QLabel(this);
    lblTeachCaption->setObjectName("lblTeachCaption");
    lblTeachCaption->setTextFormat(Qt::PlainText);
    lblTeachCaption->setWordWrap(true);
}

void TeachingTab::createPlot()
{
    m_plot = new QCustomPlot(this);
    m_plot->setObjectName("pltTeaching");
    m_plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectLegend);
    m_plot->axisRect()->setRangeZoomFactor(kWheelZoomFactor);
    m_plot->legend->setVisible(true);
    m_plot->legend->setSelectableParts(QCPLegend::spItems);
    m_plot->legend->setIconSize(32, 12);
    m_plot->legend->setRowSpacing(2);
    // The legend right of the axes, so it never covers a curve.
    auto* legendRect = new QCPLayoutGrid;
    m_plot->plotLayout()->addElement(0, 1, legendRect);
    legendRect->addElement(0, 0, m_plot->legend);
    legendRect->setMargins(QMargins(0, 6, 6, 6));
    legendRect->setRowStretchFactor(0, 0.01);
    legendRect->addElement(1, 0, new QCPLayoutElement);
    m_plot->plotLayout()->setColumnStretchFactor(1, 0.001);
    m_plot->setFocusPolicy(Qt::ClickFocus);
}

void TeachingTab::layOutControls()
{
    auto* row1 = new QHBoxLayout;
    row1->addWidget(new QLabel("Show:", this));
    row1->addWidget(cmbTeachView);
    row1->addWidget(new QLabel("Model:", this));
    row1->addWidget(cmbTeachModel);
    row1->addWidget(chkTeachAll);
    row1->addStretch(1);
    auto* row2 = new QHBoxLayout;
    for (QCheckBox* c :
         {chkTeachReduced, chkTeachLogV, chkTeachLogP, chkTeachIsotherms, chkTeachState})
        row2->addWidget(c);
    row2->addStretch(1);
    auto* row3 = new QHBoxLayout;
    row3->addWidget(new QLabel("T/Tc", this));
    row3->addWidget(sldTeachT, 1);
    row3->addWidget(lblTeachT);
    row3->addWidget(cmdTeachToState);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(row1);
    layout->addLayout(row2);
    layout->addLayout(row3);
    layout->addWidget(m_plot, 1);
    layout->addWidget(lblTeachCaption);
}

void TeachingTab::connectControls()
{
    connect(cmbTeachView, &QComboBox::currentIndexChanged, this, [this] { optionsChanged(); });
    connect(cmbTeachModel, &QComboBox::currentIndexChanged, this, [this] { optionsChanged(); });
    for (QCheckBox* c : {chkTeachAll, chkTeachReduced, chkTeachLogV, chkTeachLogP,
                         chkTeachIsotherms, chkTeachState})
        connect(c, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    connect(sldTeachT, &QSlider::valueChanged, this, &TeachingTab::sliderMoved);
    connect(cmdTeachToState, &QPushButton::clicked, this, &TeachingTab::cmdTeachToState_Click);
    connect(m_plot, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent*) { draw(true); });
    connect(m_plot, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
                m_plot->legend->setSelectedParts(QCPLegend::spNone);
                if (auto* entry = qobject_cast<QCPPlottableLegendItem*>(item))
                    if (const int model = entry->plottable()->property(kModelKey).toInt())
                        toggleModel(model - 1);
            });
}

void TeachingTab::showInput(const plots::DiagramInput& input)
{
    const analysis::Fluid fluid = analysis::fluidOf(input.state.constants, input.state.chkSphMol);
    m_stateT_K = input.state.conditions.TempK;
    m_stateP_bar = input.state.conditions.PressBar;
    if (!m_fluid || !sameFluid(*m_fluid, fluid) || m_component != input.component) {
        m_fluid = fluid;
        m_component = input.component;
        m_data.reset();
        m_reference.reset();
        m_referencePending = true;
    }
    if (chkTeachState->isChecked())
        m_options.statePressure_bar = m_stateP_bar;
    refresh(true);
}

void TeachingTab::setReference(std::optional<plots::ReferenceEnvelope> reference)
{
    m_reference = std::move(reference);
    m_referencePending = false;
    if (m_data)
        m_data->reference = m_reference;
    refresh(false);
}

void TeachingTab::setView(plots::TeachingView view)
{
    cmbTeachView->setCurrentIndex(static_cast<int>(view));
}

void TeachingTab::setModel(state::Row model)
{
    cmbTeachModel->setCurrentIndex(static_cast<int>(model));
}

void TeachingTab::optionsChanged()
{
    m_options.view = static_cast<plots::TeachingView>(cmbTeachView->currentIndex());
    m_options.model = static_cast<state::Row>(cmbTeachModel->currentIndex());
    m_options.familyAllModels = chkTeachAll->isChecked();
    m_options.reduced = chkTeachReduced->isChecked();
    m_options.logV = chkTeachLogV->isChecked();
    m_options.logP = chkTeachLogP->isChecked();
    m_options.isotherms = chkTeachIsotherms->isChecked();
    m_options.statePressure_bar =
        chkTeachState->isChecked() ? std::optional<double>(m_stateP_bar) : std::nullopt;
    // Only what the view reads can be chosen; the equal areas compare on linear axes only.
    const plots::TeachingView v = m_options.view;
    const bool family = v == plots::TeachingView::IsothermFamily;
    cmbTeachModel->setEnabled(v == plots::TeachingView::EqualAreas ||
                              (family && !m_options.familyAllModels));
    chkTeachAll->setEnabled(family);
    chkTeachLogV->setEnabled(v == plots::TeachingView::Domes || family);
    chkTeachLogP->setEnabled(v != plots::TeachingView::EqualAreas);
    chkTeachIsotherms->setEnabled(v == plots::TeachingView::Domes);
    refresh(true);
}

void TeachingTab::sliderMoved(int value)
{
    m_options.tr = static_cast<double>(value) / kSliderScale;
    refresh(false);
}

void TeachingTab::cmdTeachToState_Click()
{
    if (m_fluid && m_fluid->tc_K > 0)
        sldTeachT->setValue(
            static_cast<int>(std::lround(m_stateT_K / m_fluid->tc_K * kSliderScale)));
}

void TeachingTab::toggleModel(int row)
{
    auto& shown = m_options.shown[static_cast<std::size_t>(row)];
    shown = !shown;
    refresh(false);
}

void TeachingTab::keyPressEvent(QKeyEvent* event)
{
    // Arrow keys anywhere on the tab (the plot does not use them) move the slider.
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        sldTeachT->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    case Qt::Key_Left:
    case Qt::Key_Down:
        sldTeachT->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TeachingTab::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_dirty)
        refresh(true);
}

void TeachingTab::refresh(bool resetAxes)
{
    lblTeachT->setText(QString::number(m_options.tr, 'f', 3));
    if (!m_fluid)
        return;
    // The envelopes cost milliseconds; a hidden tab forms them when it is shown.
    if (!isVisible()) {
        m_dirty = true;
        return;
    }
    m_dirty = false;
    if (!m_data) {
        if (m_referencePending)
            m_reference = plots::referenceEnvelope(m_component);
        m_referencePending = false;
        m_data = plots::prepareTeaching(*m_fluid);
        m_data->reference = m_reference;
    }
    const bool hadAreas = m_scene.areas.has_value();
    m_scene = plots::teachingScene(*m_data, m_options);
    // The equal-area window follows the loop when it appears.
    draw(resetAxes || (m_options.view == plots::TeachingView::EqualAreas &&
                       hadAreas != m_scene.areas.has_value()));
}

} // namespace ui
