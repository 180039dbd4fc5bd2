#include "ui/teaching_tab.h"

#include "plots/diagrams.h"
#include "ui/diagram_style.h"
#include "ui/window_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSvgGenerator>
#include <QVBoxLayout>

#include <cmath>

namespace ui {
namespace {

// The slider in thousandths of the component's critical temperature.
constexpr int kSliderScale = 1000;
constexpr int kSliderMin = 450, kSliderMax = 1300, kSliderStep = 5, kSliderPage = 50;
constexpr double kMarkerSize = 9;
constexpr double kWheelZoomFactor = 0.85;
const char* const kModelKey = "model"; // row + 1 on a model's legend entry
const QColor kStyleInk(0x30, 0x30, 0x30);
const QColor kReferenceInk(0, 0, 0);
const QColor kGuideInk(0x60, 0x60, 0x60);
constexpr int kContextAlpha = 110;
const QColor kLiquidFill(0x1f, 0x77, 0xb4, 70);
const QColor kVapourFill(0xff, 0x7f, 0x0e, 70);

QVector<double> toVector(const std::vector<double>& v) { return {v.begin(), v.end()}; }

/// How each role is drawn; the legend shows the same pens.
QPen rolePen(plots::LineRole role, const QColor& color, bool emphasised)
{
    QPen pen(color, 1.6);
    switch (role) {
    case plots::LineRole::Stable:
        break;
    case plots::LineRole::Metastable:
        pen.setStyle(Qt::DashLine);
        break;
    case plots::LineRole::Unstable:
        pen.setStyle(Qt::DotLine);
        break;
    case plots::LineRole::TieLine:
        pen.setWidthF(1.3);
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case plots::LineRole::Dome:
        pen.setWidthF(3.0);
        break;
    case plots::LineRole::Spinodal:
        pen.setStyle(Qt::DashDotLine);
        break;
    case plots::LineRole::Guide:
        pen.setColor(kGuideInk);
        pen.setWidthF(1.0);
        pen.setStyle(Qt::DotLine);
        break;
    }
    if (emphasised)
        pen.setWidthF(pen.widthF() + 1.4);
    return pen;
}

const char* roleText(plots::LineRole role)
{
    switch (role) {
    case plots::LineRole::Stable:
        return "stable";
    case plots::LineRole::Metastable:
        return "metastable";
    case plots::LineRole::Unstable:
        return "unstable";
    case plots::LineRole::TieLine:
        return "tie-line";
    case plots::LineRole::Dome:
        return "dome";
    case plots::LineRole::Spinodal:
        return "spinodal";
    case plots::LineRole::Guide:
        return "state / slider";
    }
    return "";
}

void setUpAxis(QCPAxis* axis, const plots::Axis& a)
{
    axis->setLabel(fromStd(a.title));
    if (a.log) {
        axis->setScaleType(QCPAxis::stLogarithmic);
        axis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
        axis->setNumberFormat("gb");
    } else {
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
        axis->setNumberFormat("g");
    }
}

/// An entry that only shows in the legend.
QCPGraph* legendEntry(QCustomPlot* plot, const QString& name, const QPen& pen,
                      const QCPScatterStyle& scatter = QCPScatterStyle())
{
    QCPGraph* g = plot->addGraph();
    g->setName(name);
    g->setPen(pen);
    g->setScatterStyle(scatter);
    g->setSelectable(QCP::stNone);
    return g;
}

QCPScatterStyle markerStyle(const plots::Marker& m)
{
    switch (m.kind) {
    case plots::MarkerKind::ModelCritical:
    case plots::MarkerKind::CriticalPoint:
        return QCPScatterStyle(QCPScatterStyle::ssStar, 13);
    case plots::MarkerKind::State:
        return QCPScatterStyle(QCPScatterStyle::ssCrossCircle, 13);
    case plots::MarkerKind::Root:
    case plots::MarkerKind::Measured: // the teaching diagrams draw no measured points
        break;
    }
    return QCPScatterStyle(m.model ? modelStyle(*m.model).shape : QCPScatterStyle::ssCircle,
                           kMarkerSize);
}

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
    optionsChanged();
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

void TeachingTab::draw(bool resetAxes)
{
    QCustomPlot* p = m_plot;
    p->clearPlottables();
    p->clearItems();
    p->legend->clearItems();
    const plots::Diagram& d = m_scene.diagram;
    setUpAxis(p->xAxis, d.x);
    setUpAxis(p->yAxis, d.y);
    if (resetAxes) {
        p->xAxis->setRange(d.x.min, d.x.max);
        p->yAxis->setRange(d.y.min, d.y.max);
    }

    // Legend: the models drawn (a click hides or shows one), then what each line style means.
    std::array<bool, plots::kModelCount> drawn{};
    std::array<bool, 7> roles{};
    bool reference = false;
    for (std::size_t i = 0; i < d.curves.size(); ++i) {
        if (d.curves[i].model)
            drawn[static_cast<std::size_t>(*d.curves[i].model)] = true;
        roles[static_cast<std::size_t>(m_scene.info[i].role)] = true;
        reference |= m_scene.info[i].reference;
    }
    const bool modelChoice =
        m_options.view == plots::TeachingView::Domes ||
        m_options.view == plots::TeachingView::VapourPressure ||
        (m_options.view == plots::TeachingView::IsothermFamily && m_options.familyAllModels);
    for (state::Row row : analysis::kModels) {
        const std::size_t i = static_cast<std::size_t>(row);
        if (!drawn[i] && !(modelChoice && !m_options.shown[i]))
            continue;
        QCPGraph* e = legendEntry(p, fromStd(std::string(state::rowCaption(row))),
                                  QPen(modelStyle(row).color, 3));
        e->setProperty(kModelKey, modelChoice ? static_cast<int>(row) + 1 : 0);
        if (!m_options.shown[i] && modelChoice)
            if (auto* item = p->legend->itemWithPlottable(e))
                item->setTextColor(QColor(0xb0, 0xb0, 0xb0));
    }
    if (reference && m_data && m_data->reference)
        legendEntry(p, fromStd(m_data->reference->name), QPen(kReferenceInk, 3));
    for (std::size_t r = 0; r < roles.size(); ++r)
        if (roles[r]) {
            const auto role = static_cast<plots::LineRole>(r);
            legendEntry(p, roleText(role), rolePen(role, kStyleInk, false));
        }

    // With one model's isotherms in front, its dome and spinodal are the background.
    const bool context =
        m_options.view == plots::TeachingView::EqualAreas ||
        (m_options.view == plots::TeachingView::IsothermFamily && !m_options.familyAllModels);
    for (const plots::TeachingFill& f : m_scene.fills) {
        auto* c = new QCPCurve(p->xAxis, p->yAxis);
        c->setData(toVector(f.x), toVector(f.y));
        c->setPen(Qt::NoPen);
        c->setBrush(f.liquidSide ? kLiquidFill : kVapourFill);
        c->setName(fromStd(f.name)); // its value in the legend
        c->setSelectable(QCP::stNone);
    }
    for (std::size_t i = 0; i < d.curves.size(); ++i) {
        const plots::Curve& c = d.curves[i];
        const plots::TeachingCurveInfo& info = m_scene.info[i];
        const QColor color = info.reference ? kReferenceInk
                             : c.model      ? modelStyle(*c.model).color
                                            : kGuideInk;
        QPen pen = rolePen(info.role, color, info.emphasised);
        if (context &&
            (info.role == plots::LineRole::Dome || info.role == plots::LineRole::Spinodal)) {
            QColor faint = pen.color();
            faint.setAlpha(kContextAlpha);
            pen.setColor(faint);
        }
        const QString name = fromStd(c.name);
        if (info.role == plots::LineRole::Dome || info.role == plots::LineRole::Spinodal ||
            info.role == plots::LineRole::Guide) {
            // A dome turns back on itself, a guide may be vertical: drawn in point order.
            auto* curve = new QCPCurve(p->xAxis, p->yAxis);
            curve->setData(toVector(c.x), toVector(c.y));
            curve->setPen(pen);
            curve->setName(name);
            curve->setSelectable(QCP::stNone);
            curve->removeFromLegend();
            continue;
        }
        QCPGraph* g = p->addGraph(); // isotherms and tie-lines rise in V
        g->setData(toVector(c.x), toVector(c.y), true);
        g->setPen(pen);
        g->setName(name);
        g->setSelectable(QCP::stNone);
        g->removeFromLegend();
    }
    bool critical = false;
    for (const plots::Marker& m : d.markers) {
        QCPGraph* g = p->addGraph();
        g->setLineStyle(QCPGraph::lsNone);
        g->setData(QVector<double>{m.x}, QVector<double>{m.y}, true);
        g->setPen(QPen(m.model ? modelStyle(*m.model).color : kReferenceInk, 1.6));
        g->setScatterStyle(markerStyle(m));
        g->setSelectable(QCP::stNone);
        g->removeFromLegend();
        critical |= m.kind == plots::MarkerKind::ModelCritical;
    }
    if (critical)
        legendEntry(p, "critical point", QPen(kStyleInk, 1.6),
                    QCPScatterStyle(QCPScatterStyle::ssStar, 13))
            ->setLineStyle(QCPGraph::lsNone);
    for (const plots::TeachingLabel& l : m_scene.labels) {
        auto* t = new QCPItemText(p);
        t->position->setCoords(l.x, l.y);
        t->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        t->setText(fromStd(l.text));
        t->setColor(kStyleInk);
        t->setPadding(QMargins(3, 0, 0, 2));
    }
    lblTeachCaption->setText(fromStd(m_scene.caption));
    p->replot(QCustomPlot::rpQueuedReplot);
}

bool TeachingTab::saveImage(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "pdf")
        return m_plot->savePdf(path, m_plot->width(), m_plot->height());
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(m_plot->size());
        svg.setViewBox(QRect(QPoint(0, 0), m_plot->size()));
        svg.setTitle(fromStd(m_scene.diagram.title));
        QCPPainter painter;
        if (!painter.begin(&svg))
            return false;
        m_plot->toPainter(&painter, m_plot->width(), m_plot->height());
        return painter.end();
    }
    return m_plot->savePng(path, m_plot->width(), m_plot->height());
}

QImage TeachingTab::image()
{
    return m_plot->toPixmap(m_plot->width(), m_plot->height()).toImage();
}

std::string TeachingTab::csv() const
{
    std::array<bool, plots::kModelCount> all{};
    all.fill(true);
    return plots::diagramCsv(m_scene.diagram, all);
}

} // namespace ui
