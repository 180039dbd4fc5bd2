#include "ui/diagram_plot.h"

#include "ui/diagram_style.h"

#include <QSvgGenerator>

#include <cmath>
#include <limits>

namespace ui {
namespace {

constexpr int kModelProperty = 0; // no model: a component curve
const char* const kModelKey = "model";
constexpr double kMarkerSize = 9;
constexpr double kWheelZoomFactor = 0.85;
const QColor kComponentColor(0, 0, 0);
const QColor kStateColor(0x40, 0x40, 0x40);
const QColor kHiddenText(0xb0, 0xb0, 0xb0);
// The reference equation of state: black and heavier than any model's line.
constexpr double kReferenceWidth = 2.6;
// Measured points: the one colour of the palette no model has (tab10's olive), outlined.
const QColor kMeasuredColor(0xbc, 0xbd, 0x22);
constexpr double kMeasuredSize = 7;

QString fromStd(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

Qt::PenStyle penStyle(plots::LineStyle style)
{
    switch (style) {
    case plots::LineStyle::Dashed:
        return Qt::DashLine;
    case plots::LineStyle::Dotted:
        return Qt::DotLine;
    case plots::LineStyle::Solid:
        break;
    }
    return Qt::SolidLine;
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
    axis->setRange(a.min, a.max);
}

QVector<double> toVector(const std::vector<double>& v) { return {v.begin(), v.end()}; }

std::size_t index(state::Row row) { return static_cast<std::size_t>(row); }

} // namespace

DiagramPlot::DiagramPlot(QWidget* parent) : QCustomPlot(parent)
{
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom | QCP::iSelectLegend);
    axisRect()->setRangeZoomFactor(kWheelZoomFactor);
    // The legend right of the axes, so it never covers a curve.
    legend->setVisible(true);
    legend->setSelectableParts(QCPLegend::spItems);
    legend->setSelectedParts(QCPLegend::spNone);
    legend->setIconSize(28, 12);
    legend->setRowSpacing(4);
    auto* legendRect = new QCPLayoutGrid;
    plotLayout()->addElement(0, 1, legendRect);
    legendRect->addElement(0, 0, legend);
    legendRect->setMargins(QMargins(0, 6, 6, 6));
    legendRect->setRowStretchFactor(0, 0.01);
    legendRect->addElement(1, 0, new QCPLayoutElement);
    plotLayout()->setColumnStretchFactor(1, 0.001);

    connect(this, &QCustomPlot::legendClick, this, &DiagramPlot::onLegendClick);
    // Ctrl+drag draws a zoom box; a plain drag pans.
    connect(this, &QCustomPlot::mousePress, this, [this](QMouseEvent* e) {
        setSelectionRectMode(e->modifiers() & Qt::ControlModifier ? QCP::srmZoom : QCP::srmNone);
    });
    connect(this, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent*) {
        resetView();
        replot();
    });
    connect(this, &QCustomPlot::mouseMove, this, [this](QMouseEvent* e) {
        emit readoutChanged(readout(e->position()));
        // The reference's legend entry names the publication in full.
        auto* item = qobject_cast<QCPPlottableLegendItem*>(layoutElementAt(e->position()));
        const bool onReference = item != nullptr && item->plottable() == m_referenceEntry;
        setToolTip(onReference && m_diagram.reference ? fromStd(m_diagram.reference->citation)
                                                      : QString());
    });
    setMouseTracking(true);
}

void DiagramPlot::setDiagram(const plots::Diagram& diagram, const ModelMask& visible)
{
    m_diagram = diagram;
    clearGraphs();
    legend->clearItems();
    m_modelGraphs = {};
    m_legendEntry = {};
    m_rootMarkers = {};
    m_referenceEntry = nullptr;
    m_curves.clear();

    setUpAxis(xAxis, diagram.x);
    setUpAxis(yAxis, diagram.y);

    // One legend-only entry per model (line and marker), then the curves and markers.
    for (state::Row row : analysis::kModels) {
        const ModelStyle style = modelStyle(row);
        QCPGraph* entry = addGraph();
        entry->setName(fromStd(std::string(state::rowCaption(row))));
        entry->setPen(QPen(style.color, 1.5));
        entry->setScatterStyle(QCPScatterStyle(style.shape, kMarkerSize));
        entry->setProperty(kModelKey, static_cast<int>(row) + 1);
        entry->setSelectable(QCP::stNone);
        m_legendEntry[index(row)] = entry;
    }
    for (const plots::Curve& curve : diagram.curves)
        addCurve(curve);
    for (std::size_t i = 0; i < diagram.markers.size(); ++i) {
        const plots::Marker& m = diagram.markers[i];
        bool first = true;
        for (std::size_t j = 0; j < i; ++j)
            first &= !(diagram.markers[j].kind == m.kind && diagram.markers[j].model == m.model);
        if (first)
            addMarkers(m, diagram.markers);
    }
    for (state::Row row : analysis::kModels)
        setModelVisible(row, visible[index(row)]);
    resetView();
}

void DiagramPlot::addCurve(const plots::Curve& curve)
{
    QCPGraph* g = addGraph();
    const QColor color = curve.model ? modelStyle(*curve.model).color : kComponentColor;
    QPen pen(color, curve.reference ? kReferenceWidth : curve.model ? 1.5 : 1.2);
    pen.setStyle(penStyle(curve.style));
    g->setPen(pen);
    g->setData(toVector(curve.x), toVector(curve.y), true);
    g->setSelectable(QCP::stNone);
    const QString name = fromStd(curve.name);
    g->setName(name);
    m_curves.emplace_back(g, name);
    if (curve.model) {
        g->removeFromLegend();
        g->setProperty(kModelKey, static_cast<int>(*curve.model) + 1);
        m_modelGraphs[index(*curve.model)].push_back(g);
    } else if (curve.reference) {
        // One legend entry, a solid line, for all of the reference's curves.
        g->setProperty(kModelKey, kModelProperty);
        g->removeFromLegend();
        if (m_referenceEntry == nullptr) {
            m_referenceEntry = addGraph();
            m_referenceEntry->setPen(QPen(kComponentColor, kReferenceWidth));
            m_referenceEntry->setName(
                fromStd(m_diagram.reference ? m_diagram.reference->name : curve.name));
            m_referenceEntry->setSelectable(QCP::stNone);
            m_referenceEntry->setProperty(kModelKey, kModelProperty);
        }
    } else {
        g->setProperty(kModelKey, kModelProperty);
    }
}

void DiagramPlot::addMarkers(const plots::Marker& first, const std::vector<plots::Marker>& all)
{
    QVector<double> x;
    QVector<double> y;
    for (const plots::Marker& m : all)
        if (m.kind == first.kind && m.model == first.model) {
            x << m.x;
            y << m.y;
        }
    QCPGraph* g = addGraph();
    g->setLineStyle(QCPGraph::lsNone);
    g->setData(x, y, false);
    g->setSelectable(QCP::stNone);
    g->removeFromLegend();
    if (first.model) {
        const ModelStyle style = modelStyle(*first.model);
        g->setPen(QPen(style.color, 1.5));
        g->setScatterStyle(QCPScatterStyle(style.shape, kMarkerSize));
        g->setProperty(kModelKey, static_cast<int>(*first.model) + 1);
        m_modelGraphs[index(*first.model)].push_back(g);
        if (first.kind == plots::MarkerKind::Root)
            m_rootMarkers[index(*first.model)] = g;
        return;
    }
    g->setProperty(kModelKey, kModelProperty);
    g->setName(fromStd(first.label));
    if (first.kind == plots::MarkerKind::Measured) {
        g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::black, 1),
                                           QBrush(kMeasuredColor), kMeasuredSize));
        g->addToLegend();
        return;
    }
    const bool isState = first.kind == plots::MarkerKind::State;
    g->setPen(QPen(isState ? kStateColor : kComponentColor, 2));
    g->setScatterStyle(
        QCPScatterStyle(isState ? QCPScatterStyle::ssCrossCircle : QCPScatterStyle::ssStar, 13));
    g->addToLegend();
}

void DiagramPlot::setModelVisible(state::Row model, bool visible)
{
    for (QCPGraph* g : m_modelGraphs[index(model)])
        g->setVisible(visible);
    if (QCPGraph* entry = m_legendEntry[index(model)]) {
        if (auto* item = legend->itemWithPlottable(entry))
            item->setTextColor(visible ? Qt::black : kHiddenText);
    }
}

void DiagramPlot::resetView()
{
    xAxis->setRange(m_diagram.x.min, m_diagram.x.max);
    yAxis->setRange(m_diagram.y.min, m_diagram.y.max);
}

std::vector<QCPGraph*> DiagramPlot::modelCurves(state::Row model) const
{
    std::vector<QCPGraph*> curves;
    for (QCPGraph* g : m_modelGraphs[index(model)])
        if (g->lineStyle() != QCPGraph::lsNone)
            curves.push_back(g);
    return curves;
}

QVector<QPointF> DiagramPlot::rootMarkers(state::Row model) const
{
    QVector<QPointF> points;
    if (const QCPGraph* g = m_rootMarkers[index(model)])
        for (const QCPGraphData& p : *g->data())
            points << QPointF(p.key, p.value);
    return points;
}

int DiagramPlot::visibleCurveCount() const
{
    int n = 0;
    for (const auto& [graph, name] : m_curves)
        n += graph->visible();
    return n;
}

QString DiagramPlot::readout(const QPointF& pixel) const
{
    const double x = xAxis->pixelToCoord(pixel.x());
    const double y = yAxis->pixelToCoord(pixel.y());
    // "V = 123.4 cm3/mol": the axis's name and its unit, which "(-)" leaves out.
    const auto coordinate = [](const QString& label, double value) {
        const qsizetype open = label.indexOf(" (");
        const QString unit = open < 0 ? QString() : label.mid(open + 2).chopped(1);
        return label.section(' ', 0, 0) + " = " + QString::number(value, 'g', 5) +
               (unit.isEmpty() || unit == "-" ? QString() : " " + unit);
    };
    QString text = coordinate(xAxis->label(), x) + "   " + coordinate(yAxis->label(), y);
    double best = std::numeric_limits<double>::infinity();
    QString nearest;
    for (const auto& [graph, name] : m_curves) {
        if (!graph->visible())
            continue;
        const double d = graph->selectTest(pixel, false);
        if (d >= 0 && d < best) {
            best = d;
            nearest = name;
        }
    }
    if (!nearest.isEmpty())
        text += QString("   nearest: %1").arg(nearest);
    return text;
}

bool DiagramPlot::saveImage(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "pdf")
        return savePdf(path, width(), height());
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size());
        svg.setViewBox(QRect(QPoint(0, 0), size()));
        svg.setTitle(fromStd(m_diagram.title));
        QCPPainter painter;
        if (!painter.begin(&svg))
            return false;
        toPainter(&painter, width(), height());
        return painter.end();
    }
    return savePng(path, width(), height());
}

QImage DiagramPlot::image() { return toPixmap(width(), height()).toImage(); }

void DiagramPlot::onLegendClick(QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*)
{
    legend->setSelectedParts(QCPLegend::spNone);
    auto* entry = qobject_cast<QCPPlottableLegendItem*>(item);
    if (entry == nullptr)
        return;
    const int model = entry->plottable()->property(kModelKey).toInt();
    if (model > kModelProperty)
        emit modelToggled(model - 1);
}

} // namespace ui
